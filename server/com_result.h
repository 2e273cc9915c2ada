#pragma once
// The module's HRESULT helpers, beside the COM boundary (com_boundary.h): one conversion from
// Win32 codes, early return on failure, and the first failure of a sequence that goes on.
#include <windows.h>

// A Win32 status as an HRESULT: ERROR_SUCCESS is S_OK.
inline HRESULT FromWin32(DWORD code) noexcept { return HRESULT_FROM_WIN32(code); }

// The code a failed call left: E_FAIL when it left none, so a failure never reads as success.
inline HRESULT FailureFromWin32(DWORD code) noexcept { return code == ERROR_SUCCESS ? E_FAIL : FromWin32(code); }

// The calling thread's last error, right after a call that failed.
inline HRESULT LastErrorResult() noexcept { return FailureFromWin32(GetLastError()); }

// Returns the HRESULT of `expression` from the calling function when it is a failure.
#define BKQN_RETURN_IF_FAILED(expression)          \
  do {                                             \
    const HRESULT bkqnReturnIfFailed = (expression);      \
    if (FAILED(bkqnReturnIfFailed)) return bkqnReturnIfFailed;   \
  } while (false)

// For work that goes on past failures so as to do as much as it can: keeps the first one.
class FirstFailure {
 public:
  void Note(HRESULT hr) noexcept {
    if (SUCCEEDED(m_hr) && FAILED(hr)) m_hr = hr;
  }
  HRESULT Result() const noexcept { return m_hr; }

 private:
  HRESULT m_hr = S_OK;
};
