// BkQnFilesSrv as the host uses it: created by class identifier, asked about the client.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bkqnfiles.h"
#include "server/bstr.h"
#include "server/com_ptr.h"
#include "server/variant.h"
#include "tests/server/module_under_test.h"

namespace {

const char kBackupListKey[] = "SOFTWARE\\Korvel\\Tessarine\\{8EF0498D-1F92-406D-9C2D-CD35883C6581}\\backuper";
const char kNoFilesText[] = "Files and folders\nError: no files to back up";

class ServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_BkQnFilesSrv, nullptr, CLSCTX_INPROC_SERVER, IID_IBkQnService, service_.PutVoid()));
  }
  HRESULT Info(const wchar_t* name, UniqueVariant& value) {
    UniqueBstr property(SysAllocString(name));
    return service_->GetClientInfo(property.Get(), value.Get());
  }
  std::string InfoText(const wchar_t* name) {
    UniqueVariant value;
    EXPECT_EQ(Info(name, value), S_OK);
    return V_VT(value.Get()) == VT_BSTR ? NarrowFromBstr(V_BSTR(value.Get())) : "(not a string)";
  }

  ComPtr<IBkQnService> service_;
};

TEST_F(ServiceTest, HostQuestions) {
  using Flag = HRESULT (STDMETHODCALLTYPE IBkQnService::*)(VARIANT_BOOL*);
  for (Flag flag : {&IBkQnService::HasAxBackup, &IBkQnService::HasAxRestore, &IBkQnService::ClientPresent}) {
    VARIANT_BOOL value = 0;
    EXPECT_EQ((service_.Get()->*flag)(&value), S_OK);
    EXPECT_EQ(value, 1);  // not VARIANT_TRUE
  }
  UniqueBstr text;
  ASSERT_EQ(service_->GetAxBackupCLSID(text.Put()), S_OK);
  EXPECT_EQ(NarrowFromBstr(text.Get()), "{2FC77467-E802-4432-8536-D056E970132B}");
  ASSERT_EQ(service_->GetAxRestoreCLSID(text.Put()), S_OK);
  EXPECT_EQ(NarrowFromBstr(text.Get()), "{96BA7CC3-BDFC-4CA0-8CFE-DEC9B60B32DC}");
  EXPECT_EQ(service_->GetAxBackupCLSID(nullptr), E_FAIL);
  EXPECT_EQ(service_->GetAxRestoreCLSID(nullptr), E_FAIL);

  UniqueVariant options;
  EXPECT_EQ(service_->SetOptions(*options.Get()), S_OK);
  EXPECT_EQ(service_->GetOptions(options.Get()), S_OK);
  EXPECT_EQ(V_VT(options.Get()), VT_EMPTY);
}

TEST_F(ServiceTest, PropertyNamesIgnoreCase) {
  for (const wchar_t* name : {L"clientname", L"CLIENTNAME", L"ClientName"}) {
    EXPECT_EQ(InfoText(name), "Files and folders");
  }
  for (const wchar_t* name : {L"clientnames", L"", L"has backup"}) {
    UniqueVariant value;
    V_VT(value.Get()) = VT_I4;
    V_I4(value.Get()) = 12345;
    EXPECT_EQ(Info(name, value), E_INVALIDARG);
    EXPECT_EQ(V_VT(value.Get()), VT_I4);
    EXPECT_EQ(V_I4(value.Get()), 12345);
  }
}

TEST_F(ServiceTest, VersionIsTheVersionBlocksProductVersion) {
  const std::string module = ModuleFile();
  DWORD ignored = 0;
  std::string block(GetFileVersionInfoSizeA(module.c_str(), &ignored), '\0');
  ASSERT_TRUE(GetFileVersionInfoA(module.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00020001u);

  for (const auto& [name, expected] : {std::pair{L"versionmajor", fixed->dwProductVersionMS},
                                       std::pair{L"VersionMinor", fixed->dwProductVersionLS}}) {
    UniqueVariant value;
    V_VT(value.Get()) = VT_UI2;  // only the payload is written
    ASSERT_EQ(Info(name, value), S_OK);
    EXPECT_EQ(V_VT(value.Get()), VT_UI2);
    EXPECT_EQ(V_UI4(value.Get()), expected);
  }
}

TEST_F(ServiceTest, ClientIconIsSmall) {
  UniqueVariant value;
  ASSERT_EQ(Info(L"ClientIcon", value), S_OK);
  EXPECT_EQ(V_VT(value.Get()), VT_EMPTY);
  HICON icon = reinterpret_cast<HICON>(static_cast<INT_PTR>(V_I4(value.Get())));
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP colour = {};
  GetObjectA(info.hbmColor, sizeof colour, &colour);
  EXPECT_EQ(colour.bmWidth, 16);
  EXPECT_EQ(colour.bmHeight, 16);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(icon);
}

TEST_F(ServiceTest, HasBackupLooksForEntryNames) {
  const struct {
    bool keyExists;
    std::vector<const char*> values;
    const char* expected;
  } kCases[] = {
      {false, {}, kNoFilesText},           {true, {}, kNoFilesText}, {true, {"Destination"}, kNoFilesText},
      {true, {"Destination", "FILE"}, ""}, {true, {"file0"}, ""},    {true, {"FiLe12"}, ""},
  };
  for (const auto& c : kCases) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kBackupListKey);
    HKEY key = nullptr;
    if (c.keyExists) {
      ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, kBackupListKey, &key));
      for (const char* name : c.values) RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\x"), 5);
      RegCloseKey(key);
    }
    EXPECT_EQ(InfoText(L"HASBACKUP"), c.expected) << c.keyExists << " " << c.values.size();
  }
  RegDeleteTreeA(HKEY_CURRENT_USER, kBackupListKey);
}

// An automation client that knows only names; arguments go in reverse order.
TEST_F(ServiceTest, AutomationClientCallsByName) {
  ComPtr<IDispatch> dispatch;
  ASSERT_HRESULT_SUCCEEDED(service_.As(dispatch, IID_IDispatch));
  const auto call = [&](const wchar_t* name, VARIANTARG* arguments, UINT count) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK) << name;
    DISPPARAMS params = {arguments, nullptr, count, 0};
    return dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  };

  UniqueVariant result;
  UniqueBstr property(SysAllocString(L"clientname"));
  VARIANTARG arguments[2];
  V_VT(&arguments[0]) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&arguments[0]) = result.Get();
  V_VT(&arguments[1]) = VT_BSTR;
  V_BSTR(&arguments[1]) = property.Get();
  ASSERT_EQ(call(L"GetClientInfo", arguments, 2), S_OK);
  ASSERT_EQ(V_VT(result.Get()), VT_BSTR);
  EXPECT_EQ(NarrowFromBstr(V_BSTR(result.Get())), "Files and folders");

  VARIANT_BOOL flag = 0;
  V_VT(&arguments[0]) = VT_BYREF | VT_BOOL;
  V_BOOLREF(&arguments[0]) = &flag;
  ASSERT_EQ(call(L"hasaxbackup", arguments, 1), S_OK);
  EXPECT_EQ(flag, 1);
}

}  // namespace
