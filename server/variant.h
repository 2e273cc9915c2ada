#pragma once
#include <windows.h>
#include <oleauto.h>

// Owns one VARIANT: initialised empty, cleared when it goes away.
class UniqueVariant {
 public:
  UniqueVariant() { VariantInit(&m_variant); }
  ~UniqueVariant() { VariantClear(&m_variant); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;

  VARIANT* get() { return &m_variant; }
  const VARIANT* get() const { return &m_variant; }
  // Clears what is held and hands out the slot for an out parameter.
  VARIANT* put() {
    VariantClear(&m_variant);
    return &m_variant;
  }

 private:
  VARIANT m_variant;
};
