#pragma once
#include <cstdint>

// Proleptic Gregorian day numbers (days since 1970-01-01), shared by the seam and the core
// so that no date arithmetic depends on what a C runtime accepts.
namespace platform {

struct CivilDate {
  int year;
  int month;  // 1..12
  int day;    // 1..31
};

constexpr int64_t FloorDiv(int64_t a, int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

constexpr int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = FloorDiv(y, 400);
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// Any month and day: month 13 is January of the next year, day 0 the last of the month before.
constexpr int64_t DaysFromCivilNormalised(int64_t y, int64_t m, int64_t d) {
  const int64_t months = y * 12 + (m - 1);
  return DaysFromCivil(FloorDiv(months, 12), static_cast<int>(months - FloorDiv(months, 12) * 12) + 1, 1) +
         (d - 1);
}

constexpr CivilDate CivilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = FloorDiv(z, 146097);
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}

// 1 = Sunday ... 7 = Saturday; 1970-01-01 was a Thursday.
constexpr int DayOfWeek(int64_t days) {
  return static_cast<int>(days + 4 - FloorDiv(days + 4, 7) * 7) + 1;
}

}  // namespace platform
