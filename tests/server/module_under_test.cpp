#include "tests/server/module_under_test.h"

#include "platform/win32/unique_handles.h"

std::string ModuleFile() {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(BKQN_MODULE_FILE, MAX_PATH, full, nullptr);
  return std::string(full, length);
}

DWORD RunRegsvr32(bool unregister) {
  std::string command = std::string("regsvr32.exe /s ") + (unregister ? "/u " : "") + "\"" + ModuleFile() + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return GetLastError() | 0x80000000u;
  }
  const UniqueHandle running(process.hProcess), thread(process.hThread);
  WaitForSingleObject(running.get(), INFINITE);
  DWORD exitCode = 0;
  GetExitCodeProcess(running.get(), &exitCode);
  return exitCode;
}

bool KeyExists(HKEY root, const std::string& path) {
  UniqueHkey key;
  return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

std::optional<std::string> ReadRegString(HKEY root, const std::string& path, const char* name) {
  char data[1024];
  DWORD size = sizeof data;
  if (RegGetValueA(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(data);
}

namespace {

// Loaded once, for good, as COM loads it: COM's own loads then share this one.
void* ModuleEntry(const char* name) {
  static const HMODULE module = LoadLibraryA(ModuleFile().c_str());
  return reinterpret_cast<void*>(GetProcAddress(module, name));
}

}  // namespace

HRESULT ModuleGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(ModuleEntry("DllGetClassObject"))(
      clsid, iid, out);
}

HRESULT ModuleCanUnloadNow() { return reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(ModuleEntry("DllCanUnloadNow"))(); }
