#pragma once
#include <windows.h>

#include <optional>
#include <string>

// The built BkQnFiles.dll as the tests reach it, and the registry look-ups they check it by.

// Its full path, as the system reports it once loaded.
std::string ModuleFile();

// Runs "regsvr32 /s [/u] <module>" in the test prefix and returns its exit code.
DWORD RunRegsvr32(bool unregister);

bool KeyExists(HKEY root, const std::string& path);
// The value's text; nothing when the key or the value is missing. Null `name`: the default.
std::optional<std::string> ReadRegString(HKEY root, const std::string& path, const char* name);

// Two entry points of the module, loaded into this program for good the way COM loads it.
HRESULT ModuleGetClassObject(REFCLSID clsid, REFIID iid, void** out);
HRESULT ModuleCanUnloadNow();
