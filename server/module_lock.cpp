#include "server/module_lock.h"

#include <atomic>

namespace {
std::atomic<long> g_lockCount{0};
}  // namespace

void LockModule() { g_lockCount.fetch_add(1); }

void UnlockModule() {
  long current = g_lockCount.load();
  while (current > 0 && !g_lockCount.compare_exchange_weak(current, current - 1)) {
  }
}

long ModuleLockCount() { return g_lockCount.load(); }
