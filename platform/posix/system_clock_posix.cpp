#include <langinfo.h>
#include <locale.h>

#include <cstdint>
#include <cstring>
#include <ctime>

#include "platform/civil_days.h"
#include "platform/system_clock.h"

namespace platform::system {

int64_t UtcNow() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return ts.tv_sec;
}

int LocaleFirstDayOfWeek() {
  locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return -1;
  int answer = -1;
  const char* name = nl_langinfo_l(_NL_LOCALE_NAME(LC_TIME), locale);
  // The C locale has no say on the week; Windows' default then is Sunday.
  if (name != nullptr && std::strcmp(name, "C") != 0 && std::strcmp(name, "POSIX") != 0) {
    // glibc: the week's day 1 is the weekday of the date in WEEK_1STDAY (e.g. 19971130, a
    // Sunday); FIRST_WEEKDAY counts from it.
    const auto firstDate = static_cast<int>(reinterpret_cast<intptr_t>(nl_langinfo_l(_NL_TIME_WEEK_1STDAY, locale)));
    const int firstWeekday = nl_langinfo_l(_NL_TIME_FIRST_WEEKDAY, locale)[0];
    if (firstDate > 0 && firstWeekday >= 1 && firstWeekday <= 7) {
      const int64_t days = DaysFromCivil(firstDate / 10000, firstDate / 100 % 100, firstDate % 100);
      const int sundayBased = (DayOfWeek(days) - 1 + firstWeekday - 1) % 7;  // 0 = Sunday
      answer = (sundayBased + 6) % 7;                                          // 0 = Monday
    }
  }
  freelocale(locale);
  return answer;
}

}  // namespace platform::system
