#include <gtest/gtest.h>

#include "engine/date_rules.h"
#include "platform/civil_days.h"
#include "platform/clock.h"
#include "platform/local_time.h"
#include "tests/support/time_zone.h"

namespace {

constexpr int kSunday = 1, kMonday = 2;

int64_t Day(int year, int month, int day) { return platform::DaysFromCivil(year, month, day); }

// The earliest file day a counted rule holds for: the day before fails, later days hold.
// 2026-02-11 is a Wednesday, 2026-02-15 a Sunday.
TEST(DateRules, CountedRulesTakeFromTheirFirstDayOn) {
  const struct {
    int32_t kind, count;
    int64_t today;
    int firstDay;
    int64_t firstTaken;
  } cases[] = {
      {RULE_LAST_DAYS, 1, Day(2026, 2, 11), kSunday, Day(2026, 2, 11)},
      {RULE_LAST_WEEKS, 1, Day(2026, 2, 15), kMonday, Day(2026, 2, 9)},
      {RULE_LAST_WEEKS, 1, Day(2026, 2, 15), kSunday, Day(2026, 2, 15)},
      {RULE_LAST_WEEKS, 2, Day(2026, 2, 11), kMonday, Day(2026, 2, 2)},
      {RULE_LAST_MONTHS, 3, Day(2026, 2, 11), kSunday, Day(2025, 12, 1)},
      {RULE_LAST_MONTHS, -5, Day(2026, 2, 11), kSunday, Day(2026, 2, 1)},  // this month
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    const RuleClock clock{c.today, c.firstDay};
    EXPECT_TRUE(RuleHolds(c.kind, c.count, 0, c.firstTaken, clock));
    EXPECT_FALSE(RuleHolds(c.kind, c.count, 0, c.firstTaken - 1, clock));
    EXPECT_TRUE(RuleHolds(c.kind, c.count, 0, c.firstTaken + 400, clock));
  }
}

// A rule's own date is its local calendar date, whatever the zone; the day itself is in
// neither "before" nor "after".
TEST(DateRules, BeforeAndAfterAreStrict) {
  for (const char* tz : {"UTC0", "EST5EDT", "JST-9"}) {
    ScopedTimeZone zone(tz);
    const int32_t march10 = LocalDate(2026, 3, 10);
    const RuleClock clock{Day(2026, 6, 1), kSunday};
    EXPECT_TRUE(RuleHolds(RULE_BEFORE, -1, march10, Day(2026, 3, 9), clock)) << tz;
    EXPECT_FALSE(RuleHolds(RULE_BEFORE, -1, march10, Day(2026, 3, 10), clock)) << tz;
    EXPECT_FALSE(RuleHolds(RULE_AFTER, -1, march10, Day(2026, 3, 10), clock)) << tz;
    EXPECT_TRUE(RuleHolds(RULE_AFTER, -1, march10, Day(2026, 3, 11), clock)) << tz;
  }
}

// The locale answers 0 = Monday ... 6 = Sunday, or nothing usable.
TEST(DateRules, ClockComesFromTheSeam) {
  platform::OverrideUtcNowForTesting(Day(2026, 2, 11) * 86400 + 86399);
  const std::pair<int, int> locales[] = {{0, kMonday}, {5, 7}, {6, kSunday}, {-1, kSunday}};
  for (const auto& [answer, firstDay] : locales) {
    platform::OverrideFirstDayOfWeekForTesting(answer);
    EXPECT_EQ(CurrentRuleClock().today, Day(2026, 2, 11));
    EXPECT_EQ(CurrentRuleClock().firstDayOfWeek, firstDay) << answer;
  }
  platform::OverrideUtcNowForTesting(std::nullopt);
  platform::OverrideFirstDayOfWeekForTesting(std::nullopt);
}

}  // namespace
