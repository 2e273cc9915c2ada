#pragma once
#include <cstdint>
#include <optional>

namespace platform {

// Current time in seconds since 1970-01-01 00:00 UTC (GetSystemTime on Windows).
int64_t UtcNow();

// The user's first day of the week as LOCALE_IFIRSTDAYOFWEEK answers it: 0 = Monday ...
// 6 = Sunday; -1 when the locale cannot be asked.
int LocaleFirstDayOfWeek();

// Tests pin the clock and the locale's answer; nullopt gives the system's answers back.
void OverrideUtcNowForTesting(std::optional<int64_t> now);
void OverrideFirstDayOfWeekForTesting(std::optional<int> answer);

}  // namespace platform
