#pragma once
#include <cstddef>

// Bytes the program holds through operator new, and the most it held since the last reset.
size_t AllocatedBytes();
size_t PeakAllocatedBytes();
void ResetPeakAllocatedBytes();
