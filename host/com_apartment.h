#pragma once
#include <objbase.h>

// Joins the calling thread to a single-threaded apartment for as long as it lives, as the
// host's user-interface thread is.
class ComApartment {
 public:
  ComApartment() : m_hr(CoInitialize(nullptr)) {}
  ~ComApartment() {
    if (SUCCEEDED(m_hr)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  HRESULT Result() const { return m_hr; }

 private:
  HRESULT m_hr;
};
