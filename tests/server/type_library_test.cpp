// The type library embedded in the built module, loaded from the module file as a host of the
// same architecture loads it: laid out for that architecture, every interface's methods in the
// slots the declarations give them.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bkqnfiles.h"
#include "server/bstr.h"
#include "server/com_ptr.h"
#include "server/type_info_owners.h"
#include "tests/server/module_under_test.h"

namespace {

struct ExpectedInterface {
  const IID* iid;
  const char* name;
  TYPEKIND kind;  // of the virtual table's description; a dual interface's is its interface part
  const wchar_t* methods;  // after IDispatch's seven, in slot order
};

const ExpectedInterface kInterfaces[] = {
    {&IID_IBkQnAxBackup, "IBkQnAxBackup", TKIND_INTERFACE, L"PersistSettings SettingsChanged Validate"},
    {&DIID__IBkQnAxEvents, "_IBkQnAxEvents", TKIND_DISPATCH, L""},
    {&IID_IBkQnAxRestore, "IBkQnAxRestore", TKIND_INTERFACE, L"PersistSettings SettingsChanged Validate"},
    {&IID_IBkQnService, "IBkQnService", TKIND_INTERFACE,
     L"Backup Restore HasAxBackup HasAxRestore ClientPresent GetAxBackupCLSID GetAxRestoreCLSID GetClientInfo "
     L"SetOptions GetOptions"},
    {&IID_IBackuper, "IBackuper", TKIND_INTERFACE,
     L"SetProgress SetVersionInfo SetArchiveInfo BeginClient EndClient BackupFile BackupRegistryKey "
     L"SetClientOptions GetClientOptions GetLastError StartBackup FinishBackup BeginBackupString "
     L"BackupNextPartOfString EndBackupString"},
    {&IID_IProgress, "IProgress", TKIND_INTERFACE, L"Clean FirstStep NextStep Message Prompt ClientError"},
    {&IID_IRestorer, "IRestorer", TKIND_INTERFACE,
     L"SetProgress GetVersionInfo GetArchiveInfo GetClient GetClientOptions Iterate Next IsEnd GetObjectInfo "
     L"RestoreFile RestoreRegistryKey GetObjectOptions BeginRestoreString RestoreNextPartOfString"},
};

UniqueTypeAttr GetTypeAttr(ITypeInfo* info) {
  TYPEATTR* attr = nullptr;
  return UniqueTypeAttr(SUCCEEDED(info->GetTypeAttr(&attr)) ? attr : nullptr, {info});
}

// The methods' names, each put in its slot after IDispatch's, joined by spaces; "?" for a
// method whose slot lies outside the interface.
std::wstring MethodsBySlot(ITypeInfo* info, const TYPEATTR& attr) {
  std::vector<std::wstring> slots(attr.cFuncs, L"?");
  for (UINT i = 0; i < attr.cFuncs; ++i) {
    FUNCDESC* raw = nullptr;
    if (FAILED(info->GetFuncDesc(i, &raw))) continue;
    const UniqueFuncDesc desc(raw, {info});
    const size_t slot = desc->oVft / sizeof(void*) - 7;
    UniqueBstr name;
    if (slot < slots.size() && SUCCEEDED(info->GetDocumentation(desc->memid, name.put(), nullptr, nullptr, nullptr))) {
      slots[slot] = name.get();
    }
  }
  std::wstring joined;
  for (const std::wstring& slot : slots) joined += (joined.empty() ? L"" : L" ") + slot;
  return joined;
}

TEST(TypeLibraryTest, EveryInterfaceInSlotOrderForThisArchitecture) {
  const std::string file = ModuleFile();
  ComPtr<ITypeLib> lib;
  ASSERT_HRESULT_SUCCEEDED(LoadTypeLibEx(std::wstring(file.begin(), file.end()).c_str(), REGKIND_NONE, lib.put()));
  TLIBATTR* lent = nullptr;
  ASSERT_HRESULT_SUCCEEDED(lib->GetLibAttr(&lent));
  const UniqueLibAttr libAttr(lent, {lib.get()});
  EXPECT_EQ(libAttr->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);

  for (const ExpectedInterface& expected : kInterfaces) {
    SCOPED_TRACE(expected.name);
    ComPtr<ITypeInfo> info;
    ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(*expected.iid, info.put()));
    UniqueTypeAttr attr = GetTypeAttr(info.get());
    ASSERT_TRUE(attr);
    if (attr->typekind == TKIND_DISPATCH && (attr->wTypeFlags & TYPEFLAG_FDUAL)) {
      HREFTYPE vtablePart = 0;
      ComPtr<ITypeInfo> dual;
      ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeOfImplType(-1, &vtablePart));
      ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeInfo(vtablePart, dual.put()));
      attr.reset();
      info = std::move(dual);
      attr = GetTypeAttr(info.get());
      ASSERT_TRUE(attr);
    }
    EXPECT_EQ(attr->typekind, expected.kind);
    EXPECT_EQ(MethodsBySlot(info.get(), *attr), expected.methods);
  }
}

}  // namespace
