// BkQnFilesSrv as the host uses it: created by class identifier, asked about the client, by
// its virtual table and by name.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>

#include "bkqnfiles.h"
#include "server/bstr.h"
#include "server/com_ptr.h"
#include "server/variant.h"
#include "tests/server/module_under_test.h"
#include "tests/server/registered_module.h"
#include "tests/server/task_memory.h"

namespace {

const char kBackupListKey[] = "SOFTWARE\\Korvel\\Tessarine\\{8EF0498D-1F92-406D-9C2D-CD35883C6581}\\backuper";

class ServiceTest : public ModuleTest {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_BkQnFilesSrv, nullptr, CLSCTX_INPROC_SERVER, IID_IBkQnService, m_pService.put_void()));
  }
  ComPtr<IBkQnService> m_pService;
};

TEST_F(ServiceTest, HostQuestions) {
  using Flag = HRESULT (STDMETHODCALLTYPE IBkQnService::*)(VARIANT_BOOL*);
  for (Flag flag : {&IBkQnService::HasAxBackup, &IBkQnService::HasAxRestore, &IBkQnService::ClientPresent}) {
    VARIANT_BOOL value = 0;
    EXPECT_EQ((m_pService.get()->*flag)(&value), S_OK);
    EXPECT_EQ(value, 1);  // not VARIANT_TRUE
  }
  UniqueBstr text;
  ASSERT_EQ(m_pService->GetAxBackupCLSID(text.put()), S_OK);
  EXPECT_EQ(NarrowFromBstr(text.get()), "{2FC77467-E802-4432-8536-D056E970132B}");
  ASSERT_EQ(m_pService->GetAxRestoreCLSID(text.put()), S_OK);
  EXPECT_EQ(NarrowFromBstr(text.get()), "{96BA7CC3-BDFC-4CA0-8CFE-DEC9B60B32DC}");
  EXPECT_EQ(m_pService->GetAxBackupCLSID(nullptr), E_FAIL);
  EXPECT_EQ(m_pService->GetAxRestoreCLSID(nullptr), E_FAIL);
  EXPECT_EQ(m_pService->GetClientInfo(text.get(), nullptr), E_POINTER);

  UniqueVariant options;
  EXPECT_EQ(m_pService->SetOptions(*options.get()), S_OK);
  EXPECT_EQ(m_pService->GetOptions(options.get()), S_OK);
  EXPECT_EQ(V_VT(options.get()), VT_EMPTY);
}

// A text answer frees the string the value held and moves its own in; any other name leaves
// the value as it was. When the new string cannot be made, the call fails and changes nothing.
TEST_F(ServiceTest, TextPropertiesReplaceTheValue) {
  const struct {
    const wchar_t* name;  // null: a null string
    const char* storedValue;
    HRESULT result;
    const char* text;
  } kCases[] = {
      {L"clientname", nullptr, S_OK, "Files and folders"},
      {L"ClientName", nullptr, S_OK, "Files and folders"},
      {L"HASBACKUP", nullptr, S_OK, "Files and folders\nError: no files to back up"},
      {L"hasbackup", "FiLe12", S_OK, ""},
      {L"clientnames", nullptr, E_INVALIDARG, "held"},
      {L"has backup", "file0", E_INVALIDARG, "held"},
      {L"", nullptr, E_INVALIDARG, "held"},
      {nullptr, nullptr, E_INVALIDARG, "held"},
  };
  for (const auto& c : kCases) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kBackupListKey);
    if (c.storedValue) RegSetKeyValueA(HKEY_CURRENT_USER, kBackupListKey, c.storedValue, REG_SZ, "C:\\x", 5);
    for (const long refused : {0L, 1L}) {
      SCOPED_TRACE(testing::Message() << "case " << &c - kCases << (refused ? ", out of memory" : ""));
      const UniqueBstr name(c.name ? SysAllocString(c.name) : nullptr);
      UniqueVariant value;
      value.set_bstr(UniqueBstr(SysAllocString(L"held")));
      const long live = task_memory::Live();
      task_memory::RefuseAllocation(refused);
      const HRESULT result = m_pService->GetClientInfo(name.get(), value.get());
      task_memory::RefuseAllocation(0);
      EXPECT_EQ(result, refused && c.result == S_OK ? E_OUTOFMEMORY : c.result);
      EXPECT_EQ(task_memory::Live(), live);
      ASSERT_EQ(V_VT(value.get()), VT_BSTR);
      EXPECT_EQ(NarrowFromBstr(V_BSTR(value.get())), result == S_OK ? c.text : "held");
    }
  }
  RegDeleteTreeA(HKEY_CURRENT_USER, kBackupListKey);
}

TEST_F(ServiceTest, NumberPropertiesWriteOnlyThePayload) {
  const std::string module = ModuleFile();
  DWORD ignored = 0;
  std::string block(GetFileVersionInfoSizeA(module.c_str(), &ignored), '\0');
  ASSERT_TRUE(GetFileVersionInfoA(module.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &size));

  const auto payload = [&](const wchar_t* property) {
    const UniqueBstr name(SysAllocString(property));
    UniqueVariant value;
    V_VT(value.get()) = VT_UI2;
    V_UI4(value.get()) = 0xDDDDDDDD;
    EXPECT_EQ(m_pService->GetClientInfo(name.get(), value.get()), S_OK);
    EXPECT_EQ(V_VT(value.get()), VT_UI2);
    return V_UI4(value.get());
  };
  EXPECT_EQ(payload(L"versionmajor"), fixed->dwProductVersionMS);
  EXPECT_EQ(payload(L"VersionMinor"), fixed->dwProductVersionLS);

  // The caller owns the icon handed out.
  const UniqueHicon icon(reinterpret_cast<HICON>(static_cast<INT_PTR>(static_cast<LONG>(payload(L"ClientIcon")))));
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(icon.get(), &info));
  const UniqueHbitmap colourBitmap(info.hbmColor), maskBitmap(info.hbmMask);
  BITMAP colour = {};
  GetObjectA(colourBitmap.get(), sizeof colour, &colour);
  EXPECT_EQ(colour.bmWidth, 16);
  EXPECT_EQ(colour.bmHeight, 16);
}

// An automation client that knows only names; arguments go in reverse order.
TEST_F(ServiceTest, AutomationClientCallsByName) {
  ComPtr<IDispatch> dispatch;
  ASSERT_HRESULT_SUCCEEDED(m_pService.As(dispatch, IID_IDispatch));
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"getclientinfo")};
  DISPID id = DISPID_UNKNOWN;
  ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  UniqueVariant result;
  UniqueVariant arguments[2];
  arguments[0].set_variant_ref(result.get());
  arguments[1].set_bstr(UniqueBstr(SysAllocString(L"clientname")));
  DISPPARAMS params = {arguments[0].get(), nullptr, 2, 0};
  ASSERT_EQ(dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
            S_OK);
  ASSERT_EQ(V_VT(result.get()), VT_BSTR);
  EXPECT_EQ(NarrowFromBstr(V_BSTR(result.get())), "Files and folders");
}

}  // namespace
