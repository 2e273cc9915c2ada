#include <gtest/gtest.h>

#include <tuple>

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

// A stored date comes back as 00:00 local standard time and reads as the same local date,
// in summer and winter, in zones east and west of UTC.
TEST(LocalMidnight, KeepsTheCalendarDateAtStandardTime) {
  for (const char* tz : {"UTC0", "EST5EDT", "JST-9"}) {
    ScopedTimeZone zone(tz);
    const platform::CivilDate dates[] = {{1970, 1, 2},   {2003, 3, 30}, {2003, 4, 6},  {2003, 5, 17},
                                         {2003, 10, 26}, {2004, 2, 29}, {2026, 7, 1}, {2037, 12, 31}};
    for (const platform::CivilDate& date : dates) {
      SCOPED_TRACE(testing::Message() << tz << " " << date.year << "-" << date.month << "-" << date.day);
      const int32_t time = LocalDate(date.year, date.month, date.day);
      const platform::CivilDate back = platform::LocalDateOf(time);
      EXPECT_EQ(std::tie(back.year, back.month, back.day), std::tie(date.year, date.month, date.day));
    }
  }
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
