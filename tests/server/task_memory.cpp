#include "tests/server/task_memory.h"

#include <windows.h>
#include <objbase.h>

namespace task_memory {
namespace {

class CountingSpy final : public IMallocSpy {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMallocSpy) ? this : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  // A static object: COM may hold it until the last block it saw is freed.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }

  // Returning 0 makes the allocation fail.
  STDMETHODIMP_(SIZE_T) PreAlloc(SIZE_T size) override { return refuseIn > 0 && --refuseIn == 0 ? 0 : size; }
  STDMETHODIMP_(void*) PostAlloc(void* block) override {
    if (block) ++live, ++allocations;
    return block;
  }
  // Blocks allocated before the spy came are not counted either way.
  STDMETHODIMP_(void*) PreFree(void* block, BOOL spied) override {
    if (block && spied) --live;
    return block;
  }
  STDMETHODIMP_(void) PostFree(BOOL) override {}
  STDMETHODIMP_(SIZE_T) PreRealloc(void* block, SIZE_T size, void** out, BOOL) override {
    *out = block;
    return size;
  }
  STDMETHODIMP_(void*) PostRealloc(void* block, BOOL) override { return block; }
  STDMETHODIMP_(void*) PreGetSize(void* block, BOOL) override { return block; }
  STDMETHODIMP_(SIZE_T) PostGetSize(SIZE_T size, BOOL) override { return size; }
  STDMETHODIMP_(void*) PreDidAlloc(void* block, BOOL) override { return block; }
  STDMETHODIMP_(int) PostDidAlloc(void*, BOOL, int result) override { return result; }
  STDMETHODIMP_(void) PreHeapMinimize() override {}
  STDMETHODIMP_(void) PostHeapMinimize() override {}

  long live = 0;
  long allocations = 0;
  long refuseIn = 0;
};

CountingSpy g_spy;

}  // namespace

bool Watch() {
  using SetOaNoCacheFn = void(WINAPI*)();
  const auto noCache = reinterpret_cast<SetOaNoCacheFn>(
      reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("oleaut32.dll"), "SetOaNoCache")));
  if (!noCache) return false;
  noCache();
  return SUCCEEDED(CoRegisterMallocSpy(&g_spy));
}

long Live() { return g_spy.live; }
long Allocations() { return g_spy.allocations; }
void RefuseAllocation(long n) { g_spy.refuseIn = n; }

}  // namespace task_memory
