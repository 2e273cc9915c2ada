#pragma once

// Task memory (CoTaskMemAlloc, and through it every BSTR and SAFEARRAY of oleaut32) as a
// malloc spy of this program sees it.
namespace task_memory {

// Registers the spy and turns off oleaut32's cache of freed strings, which would otherwise
// keep them from the spy; false when either cannot be done.
bool Watch();
// Blocks allocated since Watch and not freed yet.
long Live();
// Allocations made since Watch.
long Allocations();
// Refuses the `n`th allocation from now (0: refuses none).
void RefuseAllocation(long n);

}  // namespace task_memory
