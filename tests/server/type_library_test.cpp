// The type library embedded in the built module, loaded from the module file as a host of the
// same architecture loads it: laid out for that architecture, every interface's methods in the
// slots the declarations give them (calls across apartments go through proxies built from it).
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>

#include "bkqnfiles.h"
#include "server/bstr.h"
#include "server/com_ptr.h"
#include "server/type_info_owners.h"
#include "tests/server/module_under_test.h"

namespace {

// After IDispatch's seven methods, each in the slot its place in the list gives it.
const std::pair<const IID*, const wchar_t*> kInterfaces[] = {
    {&IID_IBkQnAxBackup, L"PersistSettings SettingsChanged Validate"},
    {&IID_IBkQnAxRestore, L"PersistSettings SettingsChanged Validate"},
    {&IID_IBkQnService,
     L"Backup Restore HasAxBackup HasAxRestore ClientPresent GetAxBackupCLSID GetAxRestoreCLSID GetClientInfo "
     L"SetOptions GetOptions"},
    {&IID_IBackuper,
     L"SetProgress SetVersionInfo SetArchiveInfo BeginClient EndClient BackupFile BackupRegistryKey "
     L"SetClientOptions GetClientOptions GetLastError StartBackup FinishBackup BeginBackupString "
     L"BackupNextPartOfString EndBackupString"},
    {&IID_IProgress, L"Clean FirstStep NextStep Message Prompt ClientError"},
    {&IID_IRestorer,
     L"SetProgress GetVersionInfo GetArchiveInfo GetClient GetClientOptions Iterate Next IsEnd GetObjectInfo "
     L"RestoreFile RestoreRegistryKey GetObjectOptions BeginRestoreString RestoreNextPartOfString"},
};

TEST(TypeLibraryTest, EveryInterfaceInSlotOrderForThisArchitecture) {
  const std::string file = ModuleFile();
  ComPtr<ITypeLib> lib;
  ASSERT_HRESULT_SUCCEEDED(LoadTypeLibEx(std::wstring(file.begin(), file.end()).c_str(), REGKIND_NONE, lib.put()));
  TLIBATTR* lent = nullptr;
  ASSERT_HRESULT_SUCCEEDED(lib->GetLibAttr(&lent));
  EXPECT_EQ(UniqueLibAttr(lent, {lib.get()})->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);

  for (const auto& [iid, methods] : kInterfaces) {
    SCOPED_TRACE(methods);
    ComPtr<ITypeInfo> info, vtablePart;
    ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(*iid, info.put()));
    // A dual interface's slots are described by its interface part.
    HREFTYPE dual = 0;
    if (SUCCEEDED(info->GetRefTypeOfImplType(-1, &dual))) {
      ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeInfo(dual, vtablePart.put()));
      info = std::move(vtablePart);
    }
    TYPEATTR* attr = nullptr;
    ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
    const UniqueTypeAttr attrOwner(attr, {info.get()});
    std::wstring names;
    for (UINT i = 0; i < attr->cFuncs; ++i) {
      FUNCDESC* raw = nullptr;
      ASSERT_HRESULT_SUCCEEDED(info->GetFuncDesc(i, &raw));
      const UniqueFuncDesc desc(raw, {info.get()});
      UniqueBstr name;
      ASSERT_HRESULT_SUCCEEDED(info->GetDocumentation(desc->memid, name.put(), nullptr, nullptr, nullptr));
      names += (i ? L" " : L"") + std::wstring(name.get());
      EXPECT_EQ(static_cast<size_t>(desc->oVft), (7 + i) * sizeof(void*)) << NarrowFromBstr(name.get());
    }
    EXPECT_EQ(names, methods);
  }
}

}  // namespace
