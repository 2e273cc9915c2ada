#include <gtest/gtest.h>

#include "engine/date_rules.h"
#include "platform/civil_days.h"
#include "platform/clock.h"
#include "platform/local_time.h"
#include "tests/support/time_zone.h"

namespace {

constexpr int kSunday = 1, kMonday = 2;

int64_t Day(int year, int month, int day) { return platform::DaysFromCivil(year, month, day); }

struct RuleCase {
  const char* what;
  int32_t kind;
  int32_t count;
  int64_t today;
  int firstDay;
  int64_t firstTaken;  // the earliest file day the rule holds for; the day before fails
};

// 2026-02-11 is a Wednesday, 2026-02-15 a Sunday.
const RuleCase kThresholds[] = {
    {"last 1 day: today only", RULE_LAST_DAYS, 1, Day(2026, 2, 11), kSunday, Day(2026, 2, 11)},
    {"last 0 days: after today", RULE_LAST_DAYS, 0, Day(2026, 2, 11), kSunday, Day(2026, 2, 12)},
    {"1 week, Wednesday, Monday first", RULE_LAST_WEEKS, 1, Day(2026, 2, 11), kMonday, Day(2026, 2, 9)},
    {"1 week, Sunday, Monday first", RULE_LAST_WEEKS, 1, Day(2026, 2, 15), kMonday, Day(2026, 2, 9)},
    {"1 week, Wednesday, Sunday first", RULE_LAST_WEEKS, 1, Day(2026, 2, 11), kSunday, Day(2026, 2, 8)},
    {"1 week, Sunday, Sunday first", RULE_LAST_WEEKS, 1, Day(2026, 2, 15), kSunday, Day(2026, 2, 15)},
    {"2 weeks, Wednesday, Monday first", RULE_LAST_WEEKS, 2, Day(2026, 2, 11), kMonday, Day(2026, 2, 2)},
    {"0 weeks: after this week began", RULE_LAST_WEEKS, 0, Day(2026, 2, 11), kMonday, Day(2026, 2, 16)},
    {"3 months in February", RULE_LAST_MONTHS, 3, Day(2026, 2, 11), kSunday, Day(2025, 12, 1)},
    {"-5 months: this month", RULE_LAST_MONTHS, -5, Day(2026, 2, 11), kSunday, Day(2026, 2, 1)},
    {"2 months on the 1st of January", RULE_LAST_MONTHS, 2, Day(2026, 1, 1), kSunday, Day(2025, 12, 1)},
};

class RuleThreshold : public testing::TestWithParam<RuleCase> {};

TEST_P(RuleThreshold, TakesFromTheFirstDayOn) {
  const RuleCase& c = GetParam();
  const RuleClock clock{c.today, c.firstDay};
  EXPECT_TRUE(RuleHolds(c.kind, c.count, 0, c.firstTaken, clock)) << c.what;
  EXPECT_FALSE(RuleHolds(c.kind, c.count, 0, c.firstTaken - 1, clock)) << c.what;
  EXPECT_TRUE(RuleHolds(c.kind, c.count, 0, c.firstTaken + 400, clock)) << c.what << ": later days too";
}

INSTANTIATE_TEST_SUITE_P(Rules, RuleThreshold, testing::ValuesIn(kThresholds));

// A rule's own date is its local calendar date, whatever the zone; the day itself is in
// neither "before" nor "after".
TEST(DateRules, BeforeAndAfterAreStrict) {
  for (const char* tz : {"UTC0", "EST5EDT", "JST-9"}) {
    ScopedTimeZone zone(tz);
    int32_t march10 = 0;
    ASSERT_TRUE(platform::LocalStandardMidnight({2026, 3, 10}, march10));
    const RuleClock clock{Day(2026, 6, 1), kSunday};
    EXPECT_TRUE(RuleHolds(RULE_BEFORE, -1, march10, Day(2026, 3, 9), clock)) << tz;
    EXPECT_FALSE(RuleHolds(RULE_BEFORE, -1, march10, Day(2026, 3, 10), clock)) << tz;
    EXPECT_FALSE(RuleHolds(RULE_AFTER, -1, march10, Day(2026, 3, 10), clock)) << tz;
    EXPECT_TRUE(RuleHolds(RULE_AFTER, -1, march10, Day(2026, 3, 11), clock)) << tz;
  }
}

TEST(DateRules, ClockComesFromTheSeam) {
  platform::OverrideUtcNowForTesting(Day(2026, 2, 11) * 86400 + 86399);
  const struct {
    int answer;
    int firstDay;
  } locales[] = {{0, kMonday}, {5, 7}, {6, kSunday}, {-1, kSunday}};
  for (const auto& l : locales) {
    platform::OverrideFirstDayOfWeekForTesting(l.answer);
    const RuleClock clock = CurrentRuleClock();
    EXPECT_EQ(clock.today, Day(2026, 2, 11));
    EXPECT_EQ(clock.firstDayOfWeek, l.firstDay) << l.answer;
  }
  platform::OverrideUtcNowForTesting(std::nullopt);
  platform::OverrideFirstDayOfWeekForTesting(std::nullopt);
}

}  // namespace
