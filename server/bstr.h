#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

// Owns one BSTR.
class UniqueBstr {
 public:
  UniqueBstr() = default;
  explicit UniqueBstr(BSTR b) : b_(b) {}
  UniqueBstr(UniqueBstr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
  UniqueBstr& operator=(UniqueBstr&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.b_, nullptr));
    return *this;
  }
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  ~UniqueBstr() { Reset(); }

  void Reset(BSTR b = nullptr) {
    if (b_) SysFreeString(b_);
    b_ = b;
  }
  BSTR Get() const { return b_; }
  BSTR Detach() { return std::exchange(b_, nullptr); }
  BSTR* Put() {
    Reset();
    return &b_;
  }

 private:
  BSTR b_ = nullptr;
};

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
