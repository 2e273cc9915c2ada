#pragma once
#include <windows.h>

#include <string>

// String resource `id` of `module`, read through a 512-byte buffer as the module's texts
// have always been; empty when there is none.
std::string LoadModuleText(HMODULE module, UINT id);
