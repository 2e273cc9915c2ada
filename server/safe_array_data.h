#pragma once
#include <windows.h>
#include <oleauto.h>

// Holds a SAFEARRAY's data locked (SafeArrayAccessData) for as long as it lives.
class SafeArrayData {
 public:
  explicit SafeArrayData(SAFEARRAY* array) : m_pArray(array) {
    if (FAILED(SafeArrayAccessData(m_pArray, &m_pData))) m_pData = nullptr;
  }
  ~SafeArrayData() {
    if (m_pData) SafeArrayUnaccessData(m_pArray);
  }
  SafeArrayData(const SafeArrayData&) = delete;
  SafeArrayData& operator=(const SafeArrayData&) = delete;

  // Null when the data could not be locked.
  void* get() const { return m_pData; }

 private:
  SAFEARRAY* m_pArray;
  void* m_pData = nullptr;
};
