// BkQnFilesSrv as the host uses it: created by class identifier, asked about the client by
// its virtual table.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "bkqnfiles.h"
#include "platform/win32/unique_handles.h"
#include "server/bstr.h"
#include "server/com_ptr.h"
#include "server/variant.h"
#include "tests/server/module_under_test.h"
#include "tests/server/registered_module.h"
#include "tests/server/task_memory.h"
#include "tests/support/service_clsid.h"
#include "tests/support/temp_tree.h"

namespace {

const std::string kBackupListKey = "SOFTWARE\\Korvel\\Tessarine\\" + kServiceClsid + "\\backuper";

class ServiceTest : public ModuleTest {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_BkQnFilesSrv, nullptr, CLSCTX_INPROC_SERVER, IID_IBkQnService, m_pService.put_void()));
  }
  ComPtr<IBkQnService> m_pService;
};

// The host reads the flags as "equal to 1" and knows the two texts' calls by E_FAIL for null.
// When it lets the object go, the idle module gives back the type information it cached for the
// objects' IDispatch.
TEST_F(ServiceTest, HostQuestionsThenTheIdleModuleGivesBackItsTypeInformation) {
  using Flag = HRESULT (STDMETHODCALLTYPE IBkQnService::*)(VARIANT_BOOL*);
  for (Flag flag : {&IBkQnService::HasAxBackup, &IBkQnService::HasAxRestore, &IBkQnService::ClientPresent}) {
    VARIANT_BOOL value = 0;
    EXPECT_EQ((m_pService.get()->*flag)(&value), S_OK);
    EXPECT_EQ(value, 1);
  }
  UniqueBstr text;
  ASSERT_EQ(m_pService->GetAxBackupCLSID(text.put()), S_OK);
  EXPECT_EQ(NarrowFromBstr(text.get()), "{2FC77467-E802-4432-8536-D056E970132B}");
  ASSERT_EQ(m_pService->GetAxRestoreCLSID(text.put()), S_OK);
  EXPECT_EQ(NarrowFromBstr(text.get()), "{96BA7CC3-BDFC-4CA0-8CFE-DEC9B60B32DC}");
  EXPECT_EQ(m_pService->GetAxBackupCLSID(nullptr), E_FAIL);
  EXPECT_EQ(m_pService->GetAxRestoreCLSID(nullptr), E_FAIL);
  EXPECT_EQ(m_pService->GetClientInfo(text.get(), nullptr), E_POINTER);
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(m_pService->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()), S_OK);
  m_pService.reset();
  const ULONG heldWithTheCache = (info->AddRef(), info->Release());
  EXPECT_EQ(ModuleCanUnloadNow(), S_OK);
  EXPECT_EQ((info->AddRef(), info->Release()), heldWithTheCache - 1);
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
      {L"ClientName", nullptr, S_OK, "Files and folders"},
      {L"HASBACKUP", nullptr, S_OK, "Files and folders\nError: no files to back up"},
      {L"hasbackup", "FiLe12", S_OK, ""},
      {L"clientnames", nullptr, E_INVALIDARG, "held"},
      {nullptr, nullptr, E_INVALIDARG, "held"},
  };
  for (const auto& c : kCases) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kBackupListKey.c_str());
    if (c.storedValue) RegSetKeyValueA(HKEY_CURRENT_USER, kBackupListKey.c_str(), c.storedValue, REG_SZ, "C:\\x", 5);
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
}

// The module's product version, as the system reads it from the version block.
VS_FIXEDFILEINFO ProductVersionOf(const std::string& module) {
  DWORD ignored = 0;
  std::string block(GetFileVersionInfoSizeA(module.c_str(), &ignored), '\0');
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  if (!GetFileVersionInfoA(module.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
      !VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &size))
    return {};
  return *fixed;
}

// A 32-bit integer tag stays and only the payload is written; anything else is freed (here an
// object's reference) and retagged, so that a script reusing one variable is not handed another
// tag over a number and a fresh one gets its answer; a tag VariantClear refuses fails the call,
// nothing stored.
TEST_F(ServiceTest, NumberPropertiesRetagWhatIsNotA32BitInteger) {
  const VS_FIXEDFILEINFO version = ProductVersionOf(ModuleFile());
  ASSERT_NE(version.dwSignature, 0u);
  constexpr VARTYPE kNoSuchType = 15;
  const struct {
    VARTYPE given;
    VARTYPE iconTag;
    VARTYPE versionTag;
  } kCases[] = {{VT_EMPTY, VT_I4, VT_UI4},    {VT_BSTR, VT_I4, VT_UI4},   {VT_I4, VT_I4, VT_I4},
                 {VT_UI4, VT_UI4, VT_UI4},     {VT_INT, VT_INT, VT_INT},   {VT_UINT, VT_UINT, VT_UINT},
                 {VT_R8, VT_I4, VT_UI4},       {VT_DISPATCH, VT_I4, VT_UI4}, {kNoSuchType, kNoSuchType, kNoSuchType}};
  for (const auto& c : kCases) {
    for (const wchar_t* property : {L"ClientIcon", L"versionmajor", L"VersionMinor"}) {
      const UniqueBstr name(SysAllocString(property));
      SCOPED_TRACE(testing::Message() << "tag " << c.given << ", " << NarrowFromBstr(name.get()));
      const bool icon = property[0] == L'C';
      const long live = task_memory::Live();
      const ULONG references = (m_pService->AddRef(), m_pService->Release());
      VARIANT value;
      V_VT(&value) = c.given;
      V_UI8(&value) = 0xDDDDDDDDDDDDDDDD;
      if (c.given == VT_BSTR) V_BSTR(&value) = SysAllocString(L"earlier answer");
      if (c.given == VT_DISPATCH) V_DISPATCH(&value) = (m_pService->AddRef(), m_pService.get());

      const HRESULT result = m_pService->GetClientInfo(name.get(), &value);
      EXPECT_EQ(result, c.given == kNoSuchType ? DISP_E_BADVARTYPE : S_OK);
      EXPECT_EQ(V_VT(&value), icon ? c.iconTag : c.versionTag);
      EXPECT_EQ(task_memory::Live(), live);
      EXPECT_EQ((m_pService->AddRef(), m_pService->Release()), references);
      if (FAILED(result)) {
        EXPECT_EQ(V_UI8(&value), 0xDDDDDDDDDDDDDDDD);
      } else if (!icon) {
        EXPECT_EQ(V_UI4(&value), property[0] == L'v' ? version.dwProductVersionMS : version.dwProductVersionLS);
      } else {
        // The caller owns a 16 x 16 icon.
        const UniqueHicon handle(reinterpret_cast<HICON>(static_cast<INT_PTR>(V_I4(&value))));
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(handle.get(), &info));
        const UniqueHbitmap colour(info.hbmColor), mask(info.hbmMask);
        BITMAP bitmap = {};
        ASSERT_TRUE(GetObjectA(colour.get(), sizeof bitmap, &bitmap));
        EXPECT_EQ(std::make_pair(bitmap.bmWidth, bitmap.bmHeight), std::make_pair(16L, 16L));
      }
    }
  }
}

// A real automation client nobody here wrote: the system's script host runs a VBScript that
// asks every property into one variable, strings and numbers in turn, and writes down what it
// saw. The methods with typed [out] arguments are out of a script's reach (it passes a VARIANT
// by reference, and the type library's Invoke answers "Type mismatch", error 13).
TEST_F(ServiceTest, ScriptHostReusesOneVariable) {
  TempTree tree;
  const std::string script = tree.Path("client.vbs"), seen = tree.Path("seen.txt");
  std::ofstream(script) << R"(On Error Resume Next
Set out = CreateObject("Scripting.FileSystemObject").CreateTextFile(WScript.Arguments(0), True)
Set s = CreateObject("BkQnFiles.BkQnFilesSrv")
out.WriteLine "create " & Err.Number
Dim v, fresh, b
For Each name In Array("clientname", "versionmajor", "versionminor", "clienticon", "clientname", "nosuch")
  Err.Clear
  s.GetClientInfo name, v
  e = Err.Number
  If VarType(v) = vbString Then text = v Else text = Hex(v)
  If name = "clienticon" Then text = (text <> "0")
  out.WriteLine name & " " & e & " " & VarType(v) & " " & text
Next
s.GetClientInfo "versionmajor", fresh
out.WriteLine "fresh " & VarType(fresh) & " " & Hex(fresh)
Err.Clear : s.HasAxBackup b : out.WriteLine "HasAxBackup " & Err.Number
Err.Clear : s.HasAxRestore b : out.WriteLine "HasAxRestore " & Err.Number
Err.Clear : s.ClientPresent b : out.WriteLine "ClientPresent " & Err.Number
Err.Clear : s.GetAxBackupCLSID b : out.WriteLine "GetAxBackupCLSID " & Err.Number
Err.Clear : s.GetAxRestoreCLSID b : out.WriteLine "GetAxRestoreCLSID " & Err.Number
)";
  std::string command = "wscript.exe //B //nologo \"" + script + "\" \"" + seen + "\"";
  STARTUPINFOA startup = {sizeof startup};
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  const UniqueAny<HANDLE, &CloseHandle> thread(process.hThread), running(process.hProcess);
  if (WaitForSingleObject(running.get(), 60000) != WAIT_OBJECT_0) TerminateProcess(running.get(), 1);

  std::ifstream file(seen);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const VS_FIXEDFILEINFO version = ProductVersionOf(ModuleFile());
  char major[16], minor[16];
  std::snprintf(major, sizeof major, "%lX", static_cast<unsigned long>(version.dwProductVersionMS));
  std::snprintf(minor, sizeof minor, "%lX", static_cast<unsigned long>(version.dwProductVersionLS));
  EXPECT_EQ(text, std::string("create 0\nclientname 0 8 Files and folders\nversionmajor 0 19 ") + major +
                      "\nversionminor 0 19 " + minor + "\nclienticon 0 19 True\nclientname 0 8 Files and folders\n" +
                      "nosuch 5 8 Files and folders\nfresh 19 " + major +
                      "\nHasAxBackup 13\nHasAxRestore 13\nClientPresent 13\nGetAxBackupCLSID 13\n"
                      "GetAxRestoreCLSID 13\n");
}

}  // namespace
