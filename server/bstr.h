#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "platform/win32/unique_handles.h"

// Thrown out of an interface call when a COM string cannot be allocated; the call's
// boundary turns it back into its HRESULT.
struct ComError {
  HRESULT hr;
};

// Widens an ANSI-code-page text into a new BSTR; throws ComError{E_OUTOFMEMORY} when it
// cannot be allocated.
UniqueBstr WidenToBstr(const std::string& text);

// Narrows a COM string into the ANSI code page; a null BSTR is the empty text.
std::string NarrowFromBstr(BSTR text);
