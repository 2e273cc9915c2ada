#pragma once
#include <objbase.h>

#include "server/module_type_library.h"

// Joins the calling thread to a single-threaded apartment for as long as it lives, as the
// host's user-interface thread is.
class ComApartment {
 public:
  ComApartment() : m_hr(CoInitialize(nullptr)) {}
  // The host objects' type information goes before the apartment does.
  ~ComApartment() {
    ReleaseModuleTypeInfo();
    if (SUCCEEDED(m_hr)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  HRESULT Result() const { return m_hr; }

 private:
  HRESULT m_hr;
};
