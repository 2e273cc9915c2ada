#include "engine/date_rules.h"

#include "platform/civil_days.h"
#include "platform/clock.h"
#include "platform/local_time.h"

using platform::CivilFromDays;
using platform::DaysFromCivil;
using platform::FloorDiv;

namespace {

// LOCALE_IFIRSTDAYOFWEEK answers 0 = Monday ... 6 = Sunday; the rules number days from
// 1 = Sunday. An unknown answer means Sunday.
int FirstDayFromLocale(int answer) {
  if (answer < 0) return 1;
  const int day = answer + 2;
  return day == 8 ? 1 : day;
}

int64_t WeekThreshold(int64_t today, int32_t count, int firstDay) {
  const int dow = platform::DayOfWeek(today);
  const int64_t n = count;
  const int64_t back = dow >= firstDay ? 7 * n - firstDay + dow - 7 : 7 * n - firstDay + dow;
  return today - back;
}

int64_t MonthThreshold(int64_t today, int32_t count) {
  const platform::CivilDate now = CivilFromDays(today);
  const int64_t stepsBack = count <= 1 ? 0 : static_cast<int64_t>(count) - 1;
  const int64_t months = static_cast<int64_t>(now.year) * 12 + (now.month - 1) - stepsBack;
  const int64_t year = FloorDiv(months, 12);
  return DaysFromCivil(year, static_cast<int>(months - year * 12) + 1, 1);
}

int64_t LocalDayOf(Time32 date) {
  const platform::CivilDate local = platform::LocalDateOf(date);
  return DaysFromCivil(local.year, local.month, local.day);
}

}  // namespace

RuleClock CurrentRuleClock() {
  return {UtcDayOf(platform::UtcNow()), FirstDayFromLocale(platform::LocaleFirstDayOfWeek())};
}

int64_t UtcDayOf(int64_t seconds) { return FloorDiv(seconds, 86400); }

bool RuleHolds(int32_t kind, int32_t count, Time32 date, int64_t fileDay, const RuleClock& clock) {
  switch (kind) {
    case RULE_TODAY:
      return fileDay == clock.today;
    case RULE_LAST_DAYS:
      return fileDay >= clock.today - (static_cast<int64_t>(count) - 1);
    case RULE_LAST_WEEKS:
      return fileDay >= WeekThreshold(clock.today, count, clock.firstDayOfWeek);
    case RULE_LAST_MONTHS:
      return fileDay >= MonthThreshold(clock.today, count);
    case RULE_BEFORE:
      return fileDay < LocalDayOf(date);
    case RULE_AFTER:
      return fileDay > LocalDayOf(date);
    default:
      return false;
  }
}
