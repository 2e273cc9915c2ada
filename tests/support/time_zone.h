#pragma once
#include <string>

// Sets the process's time zone (a TZ text such as "EST5EDT") for the scope, then restores it.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* tz);
  ~ScopedTimeZone();
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  bool hadValue_ = false;
  std::string previous_;
};
