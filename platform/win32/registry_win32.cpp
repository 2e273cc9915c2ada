#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/registry.h"

namespace platform {
namespace {

HKEY ToHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }
RegKey FromHkey(HKEY key) { return reinterpret_cast<RegKey>(key); }

#ifdef BKQN_REGISTRY_TESTING
// Only in the build of this file that tests link (bkqn_registry_testing): the product keeps
// no count and compares no name, so apartments running at once share nothing here.
int g_openKeys = 0;
int g_peakOpenKeys = 0;
std::string g_undeletable;

bool IsPredefined(HKEY key) {
  const auto value = reinterpret_cast<ULONG_PTR>(key);
  return value >= reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT) &&
         value <= reinterpret_cast<ULONG_PTR>(HKEY_DYN_DATA);
}
#endif

long Opened(LONG result, HKEY opened, RegKey* out) {
  if (result != ERROR_SUCCESS) {
    *out = nullptr;
    return result;
  }
#ifdef BKQN_REGISTRY_TESTING
  if (!IsPredefined(opened)) g_peakOpenKeys = std::max(g_peakOpenKeys, ++g_openKeys);
#endif
  *out = FromHkey(opened);
  return result;
}

}  // namespace

RegKey PredefinedRegistryKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kClassesRoot: return FromHkey(HKEY_CLASSES_ROOT);
    case RegistryRoot::kCurrentConfig: return FromHkey(HKEY_CURRENT_CONFIG);
    case RegistryRoot::kCurrentUser: return FromHkey(HKEY_CURRENT_USER);
    case RegistryRoot::kLocalMachine: return FromHkey(HKEY_LOCAL_MACHINE);
    case RegistryRoot::kUsers: return FromHkey(HKEY_USERS);
    case RegistryRoot::kPerformanceData: return FromHkey(HKEY_PERFORMANCE_DATA);
    case RegistryRoot::kDynData: return FromHkey(HKEY_DYN_DATA);
  }
  return nullptr;
}

long OpenRegistryKey(RegKey parent, const char* subkey, uint32_t access, RegKey* result) {
  HKEY opened = nullptr;
  const LONG error = RegOpenKeyExA(ToHkey(parent), subkey, 0, access, &opened);
  return Opened(error, opened, result);
}

long CreateRegistryKey(RegKey parent, const char* subkey, uint32_t access, RegKey* result) {
  HKEY opened = nullptr;
  char emptyClass[] = "";
  const LONG error = RegCreateKeyExA(ToHkey(parent), subkey, 0, emptyClass, REG_OPTION_NON_VOLATILE, access,
                                     nullptr, &opened, nullptr);
  return Opened(error, opened, result);
}

long QueryRegistryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) {
  DWORD valueType = 0;
  DWORD dataSize = size != nullptr ? *size : 0;
  const LONG result = RegQueryValueExA(ToHkey(key), name, nullptr, &valueType, data, size != nullptr ? &dataSize : nullptr);
  if (type != nullptr && (result == ERROR_SUCCESS || result == ERROR_MORE_DATA)) *type = valueType;
  if (size != nullptr) *size = dataSize;
  return result;
}

long SetRegistryValue(RegKey key, const char* name, uint32_t type, const uint8_t* data, uint32_t size) {
  return RegSetValueExA(ToHkey(key), name, 0, type, data, size);
}

long EnumRegistryValue(RegKey key, uint32_t index, char* name, uint32_t* nameLength, uint32_t* type) {
  DWORD length = *nameLength;
  DWORD valueType = 0;
  const LONG result = RegEnumValueA(ToHkey(key), index, name, &length, nullptr, &valueType, nullptr, nullptr);
  *nameLength = length;
  if (type != nullptr && result == ERROR_SUCCESS) *type = valueType;
  return result;
}

long QueryRegistryKeyInfo(RegKey key, uint32_t* valueCount, uint32_t* longestValueName) {
  DWORD count = 0;
  DWORD longest = 0;
  const LONG result = RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       &count, &longest, nullptr, nullptr, nullptr);
  if (result == ERROR_SUCCESS) {
    *valueCount = count;
    *longestValueName = longest;
  }
  return result;
}

long DeleteRegistryValue(RegKey key, const char* name) {
#ifdef BKQN_REGISTRY_TESTING
  if (!g_undeletable.empty() && name != nullptr && lstrcmpiA(name, g_undeletable.c_str()) == 0)
    return ERROR_ACCESS_DENIED;
#endif
  return RegDeleteValueA(ToHkey(key), name);
}

long DeleteRegistryTree(RegKey parent, const char* subkey) { return RegDeleteTreeA(ToHkey(parent), subkey); }

long CloseRegistryKey(RegKey key) {
  const HKEY hkey = ToHkey(key);
  const LONG result = RegCloseKey(hkey);
#ifdef BKQN_REGISTRY_TESTING
  if (result == ERROR_SUCCESS && !IsPredefined(hkey)) --g_openKeys;
#endif
  return result;
}

#ifdef BKQN_REGISTRY_TESTING
int OpenRegistryKeyCount() { return g_openKeys; }
int PeakOpenRegistryKeyCount() { return g_peakOpenKeys; }
void ResetPeakOpenRegistryKeyCount() { g_peakOpenKeys = g_openKeys; }

void SetUndeletableRegistryValueForTesting(const char* name) { g_undeletable = name != nullptr ? name : ""; }
#endif

}  // namespace platform
