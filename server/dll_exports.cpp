// The four entry points through which COM and regsvr32 use the module, and its start and stop.
#include <windows.h>
#include <objbase.h>

#include "server/class_table.h"
#include "server/module_lock.h"
#include "server/module_type_library.h"
#include "server/registration.h"
#include "ui/window.h"

extern "C" {

// Starting needs nothing: window classes are registered when first used. Unloading
// (FreeLibrary, `reserved` null) unregisters them, as their window procedures go with the
// module; at process exit they go with the process, and user32 may already be gone.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_DETACH && !reserved) ui::UnregisterWindowClasses();
  return TRUE;
}

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return GetComponentClassObject(clsid, iid, out);
}

// An idle module gives back the type information it cached, whether or not it is unloaded.
HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  if (ModuleLockCount() != 0) return S_FALSE;
  ReleaseModuleTypeInfo();
  return S_OK;
}

HRESULT STDAPICALLTYPE DllRegisterServer() { return RegisterModule(); }

// Unregistration removes what it can; regsvr32 has nothing useful to do with a failure.
HRESULT STDAPICALLTYPE DllUnregisterServer() {
  static_cast<void>(UnregisterModule());
  return S_OK;
}

}  // extern "C"
