// Counts every byte that goes through the global operator new, by the size the allocator
// really hands out, so that the list's peak can be read against the process's baseline.
#include "bench/allocation_counter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<size_t> g_current{0};
std::atomic<size_t> g_peak{0};

void* Allocate(size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  const size_t now = g_current += malloc_usable_size(p);
  size_t peak = g_peak.load();
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
  return p;
}

void Free(void* p) {
  if (p == nullptr) return;
  g_current -= malloc_usable_size(p);
  std::free(p);
}
}  // namespace

size_t AllocatedBytes() { return g_current; }
size_t PeakAllocatedBytes() { return g_peak; }
void ResetPeakAllocatedBytes() { g_peak = g_current.load(); }

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, size_t) noexcept { Free(p); }
void operator delete[](void* p, size_t) noexcept { Free(p); }
