#pragma once
#include <cstdint>

// What each platform implements behind clock.h.
namespace platform::system {
int64_t UtcNow();
int LocaleFirstDayOfWeek();
}  // namespace platform::system
