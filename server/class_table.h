#pragma once
#include <windows.h>

#include <cstddef>

#include "server/class_object.h"

struct ComponentClass {
  const CLSID* clsid;
  ComponentCreator create;
};

// The module's classes, in the order registration and lookup visit them.
extern const ComponentClass kComponentClasses[];
extern const size_t kComponentClassCount;

// The class object of `clsid`, made on the first request and kept until the module stops.
// CLASS_E_CLASSNOTAVAILABLE for a class that is not in the table.
HRESULT GetComponentClassObject(REFCLSID clsid, REFIID iid, void** out);
