#pragma once
#include <windows.h>
#include <oleauto.h>

#include "platform/win32/unique_handles.h"

// Owns one VARIANT: initialised empty, cleared when it goes away; move-only. The setters clear
// what is held first, then take the new content, owning whatever it points to.
class UniqueVariant {
 public:
  UniqueVariant() noexcept { VariantInit(&m_variant); }
  ~UniqueVariant() { reset(); }
  UniqueVariant(UniqueVariant&& other) noexcept : m_variant(other.release()) {}
  UniqueVariant& operator=(UniqueVariant&& other) noexcept {
    if (this != &other) {
      reset();
      m_variant = other.release();
    }
    return *this;
  }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;

  VARIANT* get() noexcept { return &m_variant; }
  const VARIANT* get() const noexcept { return &m_variant; }
  // Clears what is held and hands out the slot for an out parameter.
  VARIANT* put() noexcept {
    reset();
    return &m_variant;
  }
  void reset() noexcept { VariantClear(&m_variant); }
  // Gives the content up without clearing it, for an out parameter; this one is left empty.
  [[nodiscard]] VARIANT release() noexcept {
    const VARIANT content = m_variant;
    VariantInit(&m_variant);
    return content;
  }

  void set_bstr(UniqueBstr text) noexcept {
    reset();
    V_VT(&m_variant) = VT_BSTR;
    V_BSTR(&m_variant) = text.release();
  }
  void set_i4(LONG value) noexcept {
    reset();
    V_VT(&m_variant) = VT_I4;
    V_I4(&m_variant) = value;
  }
  // A one-dimensional or any other array of `element`s; null stays null inside.
  void set_array(SAFEARRAY* array, VARTYPE element) noexcept {
    reset();
    V_VT(&m_variant) = static_cast<VARTYPE>(VT_ARRAY | element);
    V_ARRAY(&m_variant) = array;
  }
  // A reference to a VARIANT someone else owns, as automation passes an out argument.
  void set_variant_ref(VARIANT* target) noexcept {
    reset();
    V_VT(&m_variant) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&m_variant) = target;
  }

 private:
  VARIANT m_variant;
};

// An array of them is an array of VARIANTs, as DISPPARAMS takes arguments.
static_assert(sizeof(UniqueVariant) == sizeof(VARIANT));
