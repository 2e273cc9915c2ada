#pragma once
#include <cstdint>
#include <string>

#include "registry/registry_key.h"

// Every persisted setting is read and written through this stateless layer, by full key path
// text ("HKEY_CURRENT_USER\SOFTWARE\Korvel\Tessarine\..."). Each operation opens the key,
// works and closes it again; no failure is ever reported: callers judge by what comes back.
class CRegistryStore {
 public:
  // KEY_READ; no key (an empty RegistryKey) when the root name is unknown or a level is missing.
  RegistryKey OpenKey(const std::string& path) const;
  // KEY_READ | KEY_WRITE, every missing level created.
  RegistryKey CreateKey(const std::string& path) const;

  std::string ReadString(const std::string& path, const std::string& name) const;
  uint32_t ReadDword(const std::string& path, const std::string& name) const;
  void WriteString(const std::string& path, const std::string& name, const std::string& text) const;
  void WriteDword(const std::string& path, const std::string& name, uint32_t value) const;
  // The number of values of the key (0 when it cannot be opened); with an index, the name
  // (and type) of the value at that index, in the registry's enumeration order.
  uint32_t EnumValue(const std::string& path, int32_t index = -1, std::string* name = nullptr,
                     uint32_t* type = nullptr) const;
  // Deletes every value of the key; its subkeys stay.
  void ClearValues(const std::string& path) const;
};
