// The type library embedded in the built module, loaded from the module file as a host of the
// same architecture loads it: laid out for that architecture, the service's methods in the slots
// the declarations give them (calls across apartments go through proxies built from it; the
// host objects' dual interfaces are reached by name through it in the host's dispatch test).
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

TEST(TypeLibraryTest, ServiceInSlotOrderForThisArchitecture) {
  const std::string file = ModuleFile();
  ComPtr<ITypeLib> lib;
  ASSERT_HRESULT_SUCCEEDED(LoadTypeLibEx(std::wstring(file.begin(), file.end()).c_str(), REGKIND_NONE, lib.put()));
  TLIBATTR* lent = nullptr;
  ASSERT_HRESULT_SUCCEEDED(lib->GetLibAttr(&lent));
  EXPECT_EQ(UniqueLibAttr(lent, {lib.get()})->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);

  ComPtr<ITypeInfo> info;
  ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(IID_IBkQnService, info.put()));
  TYPEATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
  const UniqueTypeAttr attrOwner(attr, {info.get()});
  std::wstring names;
  // After IDispatch's seven methods, each in the slot its place in the list gives it.
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* raw = nullptr;
    ASSERT_HRESULT_SUCCEEDED(info->GetFuncDesc(i, &raw));
    const UniqueFuncDesc desc(raw, {info.get()});
    UniqueBstr name;
    ASSERT_HRESULT_SUCCEEDED(info->GetDocumentation(desc->memid, name.put(), nullptr, nullptr, nullptr));
    names += (i ? L" " : L"") + std::wstring(name.get());
    EXPECT_EQ(static_cast<size_t>(desc->oVft), (7 + i) * sizeof(void*)) << NarrowFromBstr(name.get());
  }
  EXPECT_EQ(names,
            L"Backup Restore HasAxBackup HasAxRestore ClientPresent GetAxBackupCLSID GetAxRestoreCLSID GetClientInfo "
            L"SetOptions GetOptions");
}

}  // namespace
