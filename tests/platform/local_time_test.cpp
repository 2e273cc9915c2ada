#include <gtest/gtest.h>

#include "platform/civil_days.h"
#include "platform/local_time.h"
#include "tests/support/time_zone.h"

namespace {

// Days before 1970 are negative: the divisions must round down.
TEST(CivilDays, KnownDaysAndWeekdays) {
  EXPECT_EQ(platform::DaysFromCivil(2000, 3, 1), 11017);
  EXPECT_EQ(platform::DaysFromCivil(1969, 12, 31), -1);
  EXPECT_EQ(platform::DayOfWeek(0), 5);   // Thursday
  EXPECT_EQ(platform::DayOfWeek(-4), 1);  // 1969-12-28, Sunday
  for (int64_t day : {-800000, -1, 0, 59, 11016, 24837, 3000000}) {
    const platform::CivilDate d = platform::CivilFromDays(day);
    EXPECT_EQ(platform::DaysFromCivil(d.year, d.month, d.day), day);
  }
}

// 00:00 local standard time, under daylight time too. (That each date reads back as itself in
// several zones is the entry texts' round trip.)
TEST(LocalMidnight, MidnightIsStandardTime) {
  ScopedTimeZone zone("EST5EDT");
  EXPECT_EQ(LocalDate(2003, 1, 15) % 86400, 5 * 3600);
  EXPECT_EQ(LocalDate(2003, 7, 15) % 86400, 5 * 3600);
}

TEST(LocalMidnight, RefusesDatesBeyondThirtyTwoBits) {
  ScopedTimeZone zone("UTC0");
  int32_t time = 0;
  EXPECT_FALSE(platform::LocalStandardMidnight({2039, 1, 1}, time));
  EXPECT_FALSE(platform::LocalStandardMidnight({1800, 1, 1}, time));
  EXPECT_TRUE(platform::LocalStandardMidnight({1950, 6, 1}, time));
  EXPECT_EQ(platform::LocalDateOf(time).year, 1950);
}

}  // namespace
