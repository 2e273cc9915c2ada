#include "tests/support/time_zone.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/local_time.h"

namespace {

void SetTz(const char* value) {
#ifdef _WIN32
  _putenv_s("TZ", value != nullptr ? value : "");
  _tzset();
#else
  if (value != nullptr) {
    setenv("TZ", value, 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
#endif
}

}  // namespace

ScopedTimeZone::ScopedTimeZone(const char* tz) {
  if (const char* old = std::getenv("TZ")) {
    m_bHadValue = true;
    m_strPrevious = old;
  }
  SetTz(tz);
}

ScopedTimeZone::~ScopedTimeZone() { SetTz(m_bHadValue ? m_strPrevious.c_str() : nullptr); }

int32_t LocalDate(int year, int month, int day) {
  int32_t time = 0;
  EXPECT_TRUE(platform::LocalStandardMidnight({year, month, day}, time)) << year << "-" << month << "-" << day;
  return time;
}
