#include "tests/support/time_zone.h"

#include <cstdlib>
#include <ctime>

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
    hadValue_ = true;
    previous_ = old;
  }
  SetTz(tz);
}

ScopedTimeZone::~ScopedTimeZone() { SetTz(hadValue_ ? previous_.c_str() : nullptr); }
