#pragma once
#include <cstdint>
#include <string>

// Sets the process's time zone (a TZ text such as "EST5EDT") for the scope, then restores it.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* tz);
  ~ScopedTimeZone();
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  bool m_bHadValue = false;
  std::string m_strPrevious;
};

// 00:00 local standard time of the date in the current zone; fails the test when out of range.
int32_t LocalDate(int year, int month, int day);
