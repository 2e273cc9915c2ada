#include "server/module_text.h"

std::string LoadModuleText(HMODULE module, UINT id) {
  char buffer[512];
  const int length = LoadStringA(module, id, buffer, sizeof buffer);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}
