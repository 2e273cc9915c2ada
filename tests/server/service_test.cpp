// BkQnFilesSrv as the host uses it: created by class identifier, asked about the client by
// its virtual table and, by name, from a script.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include "bkqnfiles.h"
#include "model/settings_store.h"
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
      {L"ClientName", nullptr, S_OK, "Files and folders"},
      {L"HASBACKUP", nullptr, S_OK, "Files and folders\nError: no files to back up"},
      {L"hasbackup", "FiLe12", S_OK, ""},
      {L"clientnames", nullptr, E_INVALIDARG, "held"},
      {L"", nullptr, E_INVALIDARG, "held"},
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
  RegDeleteTreeA(HKEY_CURRENT_USER, kBackupListKey.c_str());
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

// A 32-bit integer tag stays and only the payload is written; anything else is freed (a
// string, an object's reference) and retagged, and a tag VariantClear refuses fails the call
// with nothing stored.
TEST_F(ServiceTest, NumberPropertiesRetagWhatIsNotA32BitInteger) {
  const VS_FIXEDFILEINFO version = ProductVersionOf(ModuleFile());
  ASSERT_NE(version.dwSignature, 0u);
  constexpr VARTYPE kNoSuchType = 15;
  const struct {
    VARTYPE given;
    VARTYPE iconTag;
    VARTYPE versionTag;
  } kCases[] = {
      {VT_BSTR, VT_I4, VT_UI4},  {VT_I4, VT_I4, VT_I4},       {VT_UI4, VT_UI4, VT_UI4},
      {VT_INT, VT_INT, VT_INT},  {VT_UINT, VT_UINT, VT_UINT}, {VT_DISPATCH, VT_I4, VT_UI4},
      {kNoSuchType, kNoSuchType, kNoSuchType},
  };
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
        // The caller owns the icon handed out.
        const UniqueHicon handle(reinterpret_cast<HICON>(static_cast<INT_PTR>(V_I4(&value))));
        ICONINFO info = {};
        BITMAP colour = {};
        ASSERT_TRUE(GetIconInfo(handle.get(), &info));
        const UniqueHbitmap colourBitmap(info.hbmColor), maskBitmap(info.hbmMask);
        GetObjectA(colourBitmap.get(), sizeof colour, &colour);
        EXPECT_EQ(std::tie(colour.bmWidth, colour.bmHeight), std::make_tuple(16, 16));
      }
    }
  }
}

// Runs a program to its end as this program's debuggee, so that a crash comes back here rather
// than to the system's debugger, which waits for someone to close its window: "ended",
// "crashed 0xC0000005", or "did not end" within a minute.
std::string RunAsDebuggee(std::string command) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr,
                      &startup, &process))
    return "cannot start";
  const UniqueAny<HANDLE, &CloseHandle> thread(process.hThread), running(process.hProcess);
  std::string outcome = "ended";
  DEBUG_EVENT event = {};
  while (event.dwDebugEventCode != EXIT_PROCESS_DEBUG_EVENT) {
    if (!WaitForDebugEvent(&event, 60000)) {
      TerminateProcess(running.get(), 1);
      outcome = "did not end";
      continue;
    }
    if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT) CloseHandle(event.u.CreateProcessInfo.hFile);
    if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT) CloseHandle(event.u.LoadDll.hFile);
    const EXCEPTION_DEBUG_INFO& exception = event.u.Exception;
    const bool raised = event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT &&
                        exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT;
    if (raised && !exception.dwFirstChance) {
      char code[32];
      std::snprintf(code, sizeof code, "crashed 0x%08lX", exception.ExceptionRecord.ExceptionCode);
      outcome = code;
      TerminateProcess(running.get(), 1);
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, raised ? DBG_EXCEPTION_NOT_HANDLED : DBG_CONTINUE);
  }
  return outcome;
}

// A real automation client nobody here wrote: the system's script host runs a VBScript that
// asks every property into one variable, strings and numbers in turn, and writes down what
// it saw. The methods with typed [out] arguments cannot be called from a script (it passes a
// VARIANT by reference, and the type library's Invoke answers "Type mismatch", error 13).
TEST_F(ServiceTest, ScriptHostReusesOneVariable) {
  TempTree tree;
  const std::string script = tree.Path("client.vbs"), seen = tree.Path("seen.txt");
  std::ofstream(script) <<
      R"(On Error Resume Next
Set out = CreateObject("Scripting.FileSystemObject").CreateTextFile(WScript.Arguments(0), True)
Set s = CreateObject("BkQnFiles.BkQnFilesSrv")
out.WriteLine "create " & Err.Number
Dim v, fresh, b
For Each name In Array("clientname", "hasbackup", "versionmajor", "versionminor", "clienticon", "hasbackup", "nosuch")
  Err.Clear
  s.GetClientInfo name, v
  e = Err.Number
  If VarType(v) = vbString Then text = Replace(v, vbLf, "|") Else text = Hex(v)
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
Err.Clear : s.GetOptions b : out.WriteLine "GetOptions " & Err.Number
)";
  // The script host is a program of its own: it reads the user's real settings, which no test
  // changes, so what it is told about the backup list depends on them.
  bool listed = false;
  WithRealCurrentUser([&] { listed = HasBackupListValues(BackupListKey()); });
  // The script host is a windowed program; //B keeps it from showing any message box.
  EXPECT_EQ(RunAsDebuggee("wscript.exe //B //nologo \"" + script + "\" \"" + seen + "\""), "ended");

  std::ifstream file(seen);
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const VS_FIXEDFILEINFO version = ProductVersionOf(ModuleFile());
  char major[16], minor[16];
  std::snprintf(major, sizeof major, "%lX", static_cast<unsigned long>(version.dwProductVersionMS));
  std::snprintf(minor, sizeof minor, "%lX", static_cast<unsigned long>(version.dwProductVersionLS));
  const std::string problem = listed ? "" : "Files and folders|Error: no files to back up";
  const std::string noFiles = " 0 8 " + problem + "\n";
  EXPECT_EQ(text, "create 0\nclientname 0 8 Files and folders\nhasbackup" + noFiles + "versionmajor 0 19 " + major +
                      "\nversionminor 0 19 " + minor + "\nclienticon 0 19 True\nhasbackup" + noFiles +
                      "nosuch 5 8 " + problem + "\nfresh 19 " + major +
                      "\nHasAxBackup 13\nHasAxRestore 13\nClientPresent 13\nGetAxBackupCLSID 13\n"
                      "GetAxRestoreCLSID 13\nGetOptions 0\n");
}

}  // namespace
