#pragma once
#include <cstdint>

// Date-rule kinds, stored as these numbers. A file satisfies a rule when its modification
// day is: always (RULE_NONE); today; within the last N days; within the current week and the
// N-1 before it; within the current month and the N-1 before it; strictly before the date;
// strictly after the date.
enum : int32_t {
  RULE_NONE = -1,
  RULE_TODAY = 0,
  RULE_LAST_DAYS = 1,
  RULE_LAST_WEEKS = 2,
  RULE_LAST_MONTHS = 3,
  RULE_BEFORE = 4,
  RULE_AFTER = 5,
};

// A calendar date held as a 32-bit time value (seconds since 1970-01-01 00:00 UTC) of a
// moment on that date in local time; only its local year, month and day are ever read.
using Time32 = int32_t;

inline bool RuleUsesDate(int32_t rule) { return rule == RULE_BEFORE || rule == RULE_AFTER; }
