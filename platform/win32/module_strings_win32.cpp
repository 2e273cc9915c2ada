#include <windows.h>

#include "model/module_strings.h"
#include "platform/win32/this_module.h"

std::string ModuleString(int id) {
  char buffer[512];
  const int length = LoadStringA(ThisModule(), static_cast<UINT>(id), buffer, sizeof buffer);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}
