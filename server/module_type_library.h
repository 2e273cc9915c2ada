#pragma once
#include <windows.h>
#include <oaidl.h>

#include "server/com_ptr.h"

// The type library embedded in this module (resource TYPELIB 1), loaded from the module file
// without touching the registry, so automation works whether or not it is registered.
HRESULT LoadModuleTypeLib(ComPtr<ITypeLib>& lib);

// The type information of `guid` in that library, AddRef'ed into `info`. The library is loaded
// once for the module and each type information kept, whatever the apartment asking; both are
// let go by ReleaseModuleTypeInfo.
HRESULT GetModuleTypeInfo(REFGUID guid, ITypeInfo** info);

// Lets the cached library and type information go; the next request loads them again. Called
// when the module becomes idle, so an idle module holds nothing of oleaut32's.
void ReleaseModuleTypeInfo();
