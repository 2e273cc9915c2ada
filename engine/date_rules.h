#pragma once
#include <cstdint>

#include "model/date_rule.h"

// The date arithmetic of the selection rules, on whole days (days since 1970-01-01).
struct RuleClock {
  int64_t today;        // current UTC calendar date
  int firstDayOfWeek;   // 1 = Sunday ... 7 = Saturday
};

// The clock of the platform now: today in UTC, the user's first day of the week.
RuleClock CurrentRuleClock();

// The UTC calendar day of a time in seconds since 1970.
int64_t UtcDayOf(int64_t seconds);

// Whether a file last written on `fileDay` satisfies the rule (kind, N, date); false for a
// kind outside 0..5. RULE_NONE is the caller's to decide: it holds for an include rule and
// never rejects as an exclude rule.
bool RuleHolds(int32_t kind, int32_t count, Time32 date, int64_t fileDay, const RuleClock& clock);
