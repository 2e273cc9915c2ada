#pragma once
#include <windows.h>
#include <oleauto.h>

// Holds a SAFEARRAY's data locked (SafeArrayAccessData) for as long as it lives.
class SafeArrayData {
 public:
  explicit SafeArrayData(SAFEARRAY* array) : array_(array) {
    if (FAILED(SafeArrayAccessData(array_, &data_))) data_ = nullptr;
  }
  ~SafeArrayData() {
    if (data_) SafeArrayUnaccessData(array_);
  }
  SafeArrayData(const SafeArrayData&) = delete;
  SafeArrayData& operator=(const SafeArrayData&) = delete;

  // Null when the data could not be locked.
  void* get() const { return data_; }

 private:
  SAFEARRAY* array_;
  void* data_ = nullptr;
};
