#pragma once
#include <windows.h>

#include <cstdint>

namespace platform {

constexpr int64_t kFileTimeUnixEpoch = 116444736000000000LL;  // 100 ns ticks, 1601 to 1970
constexpr int64_t kFileTimeTicksPerSecond = 10000000LL;

inline int64_t UnixSecondsFromFileTime(const FILETIME& ft) {
  const int64_t ticks = (static_cast<int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  const int64_t since = ticks - kFileTimeUnixEpoch;
  return since / kFileTimeTicksPerSecond - (since % kFileTimeTicksPerSecond < 0);
}

inline FILETIME FileTimeFromUnixSeconds(int64_t seconds) {
  const uint64_t ticks = static_cast<uint64_t>(seconds * kFileTimeTicksPerSecond + kFileTimeUnixEpoch);
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(ticks);
  ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return ft;
}

}  // namespace platform
