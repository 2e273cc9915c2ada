#pragma once
#include <windows.h>

// DllRegisterServer: the registration script (resource REGISTRY 103, "%MODULE%" standing for
// this module's path) once for each class in table order, then the type library. The first
// failure stops registration and is returned.
HRESULT RegisterModule();

// DllUnregisterServer: the script in reverse for each class, then the type library's keys.
// Returns the first failure for those who care; the entry point does not.
HRESULT UnregisterModule();
