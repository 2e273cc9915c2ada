#pragma once
#include <windows.h>
#include <oaidl.h>

#include "server/com_ptr.h"

// The type library embedded in this module (resource TYPELIB 1), loaded from the module file
// without touching the registry, so automation works whether or not it is registered.
HRESULT LoadModuleTypeLib(ComPtr<ITypeLib>& lib);
