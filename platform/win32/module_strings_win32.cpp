#include <windows.h>

#include "model/module_strings.h"

namespace {

// The module this code is linked into: the library in the product, the program in tests.
HMODULE ModuleOfThisCode() {
  static const char anchor = 0;
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     &anchor, &module);
  return module;
}

}  // namespace

std::string ModuleString(int id) {
  char buffer[512];
  const int length = LoadStringA(ModuleOfThisCode(), static_cast<UINT>(id), buffer, sizeof buffer);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}
