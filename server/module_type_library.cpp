#include "server/module_type_library.h"

#include <oleauto.h>

#include "server/this_module.h"

HRESULT LoadModuleTypeLib(ComPtr<ITypeLib>& lib) {
  const std::wstring path = ThisModulePath();
  if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
  return LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib.Put());
}
