#pragma once
#include <windows.h>

#include <string>

// The module this code is linked into (the DLL in the product, the test program in tests),
// found from an address inside it, so nothing has to be captured at load time.
HMODULE ThisModule();

// The module's full file path as the system reports it for the loaded module.
std::wstring ThisModulePath();
