#include <windows.h>

#include <cstdlib>

#include "platform/system_clock.h"
#include "platform/win32/file_time.h"

namespace platform::system {

int64_t UtcNow() {
  SYSTEMTIME st;
  GetSystemTime(&st);
  FILETIME ft;
  if (!SystemTimeToFileTime(&st, &ft)) return 0;
  return UnixSecondsFromFileTime(ft);
}

int LocaleFirstDayOfWeek() {
  char answer[10] = {};
  if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, answer, sizeof answer)) return -1;
  return std::atoi(answer);
}

}  // namespace platform::system
