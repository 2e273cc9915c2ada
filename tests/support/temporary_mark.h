#pragma once
#include "platform/temporary_mark.h"

// The platform's temporary mark, kept for as long as this lives: the POSIX build keeps none
// by default, as Wine, and Windows always keeps it.
class ScopedTemporaryMark {
 public:
  ScopedTemporaryMark() : was_(platform::TemporaryMarkKept()) { platform::KeepTemporaryMark(true); }
  ~ScopedTemporaryMark() { platform::KeepTemporaryMark(was_); }
  ScopedTemporaryMark(const ScopedTemporaryMark&) = delete;
  ScopedTemporaryMark& operator=(const ScopedTemporaryMark&) = delete;

 private:
  bool was_;
};
