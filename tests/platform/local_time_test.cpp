#include <gtest/gtest.h>

#include "platform/civil_days.h"
#include "platform/local_time.h"
#include "tests/support/time_zone.h"

namespace {

TEST(CivilDays, KnownDays) {
  EXPECT_EQ(platform::DaysFromCivil(1970, 1, 1), 0);
  EXPECT_EQ(platform::DaysFromCivil(2000, 3, 1), 11017);
  EXPECT_EQ(platform::DaysFromCivil(1969, 12, 31), -1);
  EXPECT_EQ(platform::DayOfWeek(0), 5);                                   // Thursday
  EXPECT_EQ(platform::DayOfWeek(platform::DaysFromCivil(2026, 12, 6)), 1);  // a Sunday
  EXPECT_EQ(platform::DayOfWeek(-4), 1);                                  // 1969-12-28, Sunday
  for (int64_t day : {-800000, -1, 0, 59, 11016, 24837, 3000000}) {
    const platform::CivilDate d = platform::CivilFromDays(day);
    EXPECT_EQ(platform::DaysFromCivil(d.year, d.month, d.day), day);
  }
}

TEST(CivilDays, NormalisesLikeMktime) {
  EXPECT_EQ(platform::DaysFromCivilNormalised(2003, 13, 1), platform::DaysFromCivil(2004, 1, 1));
  EXPECT_EQ(platform::DaysFromCivilNormalised(2003, 3, 0), platform::DaysFromCivil(2003, 2, 28));
  EXPECT_EQ(platform::DaysFromCivilNormalised(2003, 0, 1), platform::DaysFromCivil(2002, 12, 1));
}

class LocalMidnight : public testing::TestWithParam<const char*> {};

// A stored date comes back as 00:00 local standard time and reads as the same local date,
// in summer and winter, in zones east and west of UTC.
TEST_P(LocalMidnight, KeepsTheCalendarDate) {
  ScopedTimeZone zone(GetParam());
  const platform::CivilDate dates[] = {{1970, 1, 2}, {2003, 3, 30}, {2003, 4, 6},  {2003, 5, 17},
                                       {2003, 10, 26}, {2004, 2, 29}, {2026, 7, 1}, {2037, 12, 31}};
  for (const platform::CivilDate& date : dates) {
    int32_t time = 0;
    ASSERT_TRUE(platform::LocalStandardMidnight(date, time)) << date.year << "-" << date.month << "-" << date.day;
    const platform::CivilDate back = platform::LocalDateOf(time);
    EXPECT_EQ(back.year, date.year);
    EXPECT_EQ(back.month, date.month);
    EXPECT_EQ(back.day, date.day);
  }
}

INSTANTIATE_TEST_SUITE_P(Zones, LocalMidnight, testing::Values("UTC0", "EST5EDT", "JST-9"));

TEST(LocalMidnight, MidnightIsStandardTime) {
  ScopedTimeZone zone("EST5EDT");
  int32_t winter = 0, summer = 0;
  ASSERT_TRUE(platform::LocalStandardMidnight({2003, 1, 15}, winter));
  ASSERT_TRUE(platform::LocalStandardMidnight({2003, 7, 15}, summer));
  EXPECT_EQ(winter % 86400, 5 * 3600);
  EXPECT_EQ(summer % 86400, 5 * 3600);
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
