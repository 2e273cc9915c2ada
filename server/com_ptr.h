#pragma once
#include <windows.h>
#include <unknwn.h>

#include <utility>

// Owns one reference to a COM interface.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes a new reference.
  explicit ComPtr(T* p) : m_p(p) {
    if (m_p) m_p->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
  ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(m_p, other.m_p);
    return *this;
  }
  ~ComPtr() { reset(); }

  // Adopts a reference the caller already owns.
  static ComPtr Adopt(T* p) {
    ComPtr result;
    result.m_p = p;
    return result;
  }

  void reset() {
    if (m_p) std::exchange(m_p, nullptr)->Release();
  }
  // Gives the reference up without releasing it.
  T* release() { return std::exchange(m_p, nullptr); }
  T* get() const { return m_p; }
  T* operator->() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }

  // For out parameters: releases what is held and hands out the slot.
  T** put() {
    reset();
    return &m_p;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }

  template <typename U>
  HRESULT As(ComPtr<U>& out, REFIID iid) const {
    return m_p ? m_p->QueryInterface(iid, out.put_void()) : E_POINTER;
  }

 private:
  T* m_p = nullptr;
};
