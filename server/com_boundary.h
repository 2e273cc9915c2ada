#pragma once
#include <windows.h>

#include <new>

#include "server/bstr.h"

// Runs the body of an interface method and turns whatever it throws into the method's
// HRESULT: no exception may unwind into a COM caller.
template <typename Body>
HRESULT ComBoundary(Body&& body) noexcept {
  try {
    return body();
  } catch (const ComError& error) {
    return error.hr;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}
