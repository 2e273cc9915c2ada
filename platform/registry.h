#pragma once
#include <cstdint>

// The system registry, narrowed to what the registry layer needs: advapi32 on Windows, an
// embedded in-memory registry elsewhere that answers as Wine's does. Every call returns a
// Win32 error code (kRegistryOk on success); names and texts are ANSI.
namespace platform {

struct RegistryKeyTag;
// An open key or one of the predefined roots; only ever handed back to these functions.
using RegKey = RegistryKeyTag*;

enum class RegistryRoot {
  kClassesRoot,
  kCurrentConfig,
  kCurrentUser,
  kLocalMachine,
  kUsers,
  kPerformanceData,
  kDynData,
};
RegKey PredefinedRegistryKey(RegistryRoot root);

// The Win32 numbers, so both builds store and compare the same values.
constexpr long kRegistryOk = 0;
constexpr long kRegistryFileNotFound = 2;
constexpr long kRegistryAccessDenied = 5;
constexpr long kRegistryInvalidHandle = 6;
constexpr long kRegistryInvalidParameter = 87;
constexpr long kRegistryBadPathname = 161;
constexpr long kRegistryMoreData = 234;
constexpr long kRegistryNoMoreItems = 259;
constexpr long kRegistryKeyDeleted = 1018;

constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;

constexpr uint32_t kKeyQueryValue = 0x0001;
constexpr uint32_t kKeySetValue = 0x0002;
constexpr uint32_t kKeyRead = 0x20019;
constexpr uint32_t kKeyWrite = 0x20006;

// RegOpenKeyExA / RegCreateKeyExA (class "", non-volatile, no security attributes). A null
// or empty subkey gives a new handle to `parent` itself. *result is null on failure.
long OpenRegistryKey(RegKey parent, const char* subkey, uint32_t access, RegKey* result);
long CreateRegistryKey(RegKey parent, const char* subkey, uint32_t access, RegKey* result);

// RegQueryValueExA: with null data only the size (and type) is asked; a buffer that is too
// small gives kRegistryMoreData, the size needed, and is left untouched.
long QueryRegistryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size);
long SetRegistryValue(RegKey key, const char* name, uint32_t type, const uint8_t* data, uint32_t size);
// RegEnumValueA without data: *nameLength holds the buffer size in, the name's length out.
long EnumRegistryValue(RegKey key, uint32_t index, char* name, uint32_t* nameLength, uint32_t* type);
// RegQueryInfoKeyA: the number of values and the length of the longest value name.
long QueryRegistryKeyInfo(RegKey key, uint32_t* valueCount, uint32_t* longestValueName);
long DeleteRegistryValue(RegKey key, const char* name);
// RegDeleteTreeA: the subkey with everything under it.
long DeleteRegistryTree(RegKey parent, const char* subkey);
// Closing a predefined root succeeds and does nothing.
long CloseRegistryKey(RegKey key);

// For tests only: the Windows product does not have these (tests link the build of
// registry_win32.cpp that does, bkqn_registry_testing); the POSIX registry always has them.
// Keys handed out by OpenRegistryKey and CreateRegistryKey and not closed yet, and the most
// there were at once since the last reset: tests see by them that every key opened is closed
// again and how many keys an operation holds on its way.
int OpenRegistryKeyCount();
int PeakOpenRegistryKeyCount();
void ResetPeakOpenRegistryKeyCount();
// Tests make one value name (any case) refuse deletion with kRegistryAccessDenied, as a
// value of a protected key would; an empty name ends it.
void SetUndeletableRegistryValueForTesting(const char* name);

}  // namespace platform
