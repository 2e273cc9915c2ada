#include "server/bstr.h"

#include <windows.h>

UniqueBstr WidenToBstr(const std::string& text) {
  const int size = static_cast<int>(text.size());
  const int wide = size == 0 ? 0 : MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  UniqueBstr result(SysAllocStringLen(nullptr, static_cast<UINT>(wide)));
  if (!result.get()) throw ComError{E_OUTOFMEMORY};
  if (wide > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), size, result.get(), wide);
  return result;
}

std::string NarrowFromBstr(BSTR text) {
  if (!text) return {};
  const int length = static_cast<int>(SysStringLen(text));
  if (length == 0) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, length, result.data(), size, nullptr, nullptr);
  return result;
}
