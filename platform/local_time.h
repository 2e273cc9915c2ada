#pragma once
#include <cstdint>

#include "platform/civil_days.h"

namespace platform {

// The local calendar date of a 32-bit time value, in the process's time zone.
CivilDate LocalDateOf(int32_t time);

// 00:00:00 local standard time of the given date, as a 32-bit time value; false when the
// date cannot be represented.
bool LocalStandardMidnight(const CivilDate& date, int32_t& time);

}  // namespace platform
