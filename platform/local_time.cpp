#include "platform/local_time.h"

#include <climits>
#include <ctime>

#include "platform/civil_days.h"

// Both builds convert through the C runtime, which honours TZ on Linux and under Wine alike.
namespace platform {
namespace {

bool ToLocalTm(time_t t, std::tm& out) {
#ifdef _WIN32
  return localtime_s(&out, &t) == 0;
#else
  return localtime_r(&t, &out) != nullptr;
#endif
}

// How far UTC runs ahead of local standard time, from a date every runtime can convert.
int64_t UtcMinusStandardSeconds() {
  std::tm tm{};
  tm.tm_year = 100;
  tm.tm_mon = 0;
  tm.tm_mday = 1;
  tm.tm_isdst = 0;
  const time_t local = std::mktime(&tm);
  if (local == static_cast<time_t>(-1)) return 0;
  return static_cast<int64_t>(local) - DaysFromCivil(2000, 1, 1) * 86400;
}

}  // namespace

CivilDate LocalDateOf(int32_t time) {
  std::tm tm{};
  if (ToLocalTm(static_cast<time_t>(time), tm)) {
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
  }
  // The Windows runtime refuses times before 1970: fall back to the standard offset.
  const int64_t local = static_cast<int64_t>(time) - UtcMinusStandardSeconds();
  return CivilFromDays(FloorDiv(local, 86400));
}

bool LocalStandardMidnight(const CivilDate& date, int32_t& time) {
  // Normalise like mktime would: month 13 is January of the next year, day 0 the last of
  // the month before.
  const int64_t days = DaysFromCivilNormalised(date.year, date.month, date.day);
  const CivilDate civil = CivilFromDays(days);
  if (civil.year > 1970 && civil.year < 2038) {
    std::tm tm{};
    tm.tm_year = civil.year - 1900;
    tm.tm_mon = civil.month - 1;
    tm.tm_mday = civil.day;
    tm.tm_isdst = 0;
    const time_t local = std::mktime(&tm);
    if (local != static_cast<time_t>(-1) && local >= INT32_MIN && local <= INT32_MAX) {
      time = static_cast<int32_t>(local);
      return true;
    }
  }
  const int64_t seconds = days * 86400 + UtcMinusStandardSeconds();
  if (seconds < INT32_MIN || seconds > INT32_MAX) return false;
  time = static_cast<int32_t>(seconds);
  return true;
}

}  // namespace platform
