#include "platform/clock.h"

#include "platform/system_clock.h"

namespace platform {
namespace {
std::optional<int64_t> g_pinnedNow;
std::optional<int> g_pinnedFirstDay;
}  // namespace

int64_t UtcNow() { return g_pinnedNow ? *g_pinnedNow : system::UtcNow(); }

int LocaleFirstDayOfWeek() {
  return g_pinnedFirstDay ? *g_pinnedFirstDay : system::LocaleFirstDayOfWeek();
}

void OverrideUtcNowForTesting(std::optional<int64_t> now) { g_pinnedNow = now; }
void OverrideFirstDayOfWeekForTesting(std::optional<int> answer) { g_pinnedFirstDay = answer; }

}  // namespace platform
