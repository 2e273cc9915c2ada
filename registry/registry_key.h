#pragma once
#include <utility>

#include "platform/registry.h"

// Owns one open registry key and closes it when it goes; empty when opening failed.
class RegistryKey {
 public:
  RegistryKey() = default;
  explicit RegistryKey(platform::RegKey key) : key_(key) {}
  ~RegistryKey() { Close(); }

  RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  RegistryKey& operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
      Close();
      key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  explicit operator bool() const { return key_ != nullptr; }
  platform::RegKey Get() const { return key_; }

  void Close() {
    if (key_ != nullptr) platform::CloseRegistryKey(std::exchange(key_, nullptr));
  }

 private:
  platform::RegKey key_ = nullptr;
};
