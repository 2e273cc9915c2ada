#pragma once
#include <ole2.h>

#include "server/module_type_library.h"

// Joins the calling thread to a single-threaded apartment with OLE initialised for as long as
// it lives, as the host's user-interface thread is: the pages' drag and drop needs OLE.
class ComApartment {
 public:
  ComApartment() : m_hr(OleInitialize(nullptr)) {}
  // The host objects' type information goes before the apartment does.
  ~ComApartment() {
    ReleaseModuleTypeInfo();
    if (SUCCEEDED(m_hr)) OleUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  HRESULT Result() const { return m_hr; }

 private:
  HRESULT m_hr;
};
