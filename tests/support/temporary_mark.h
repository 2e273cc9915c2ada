#pragma once
#include "platform/temporary_mark.h"

// The platform's temporary mark, kept for as long as this lives: the POSIX build keeps none
// by default, as Wine, and Windows always keeps it.
class ScopedTemporaryMark {
 public:
  ScopedTemporaryMark() : m_bWas(platform::TemporaryMarkKept()) { platform::KeepTemporaryMark(true); }
  ~ScopedTemporaryMark() { platform::KeepTemporaryMark(m_bWas); }
  ScopedTemporaryMark(const ScopedTemporaryMark&) = delete;
  ScopedTemporaryMark& operator=(const ScopedTemporaryMark&) = delete;

 private:
  bool m_bWas;
};
