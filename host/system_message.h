#pragma once
#include <windows.h>

#include <string>

// The system's text for a Win32 error code, without the trailing line break; the code in
// numbers when the system has no text for it.
std::string SystemMessage(DWORD code);
