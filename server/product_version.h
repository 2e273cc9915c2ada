#pragma once
#include <windows.h>

#include <cstdint>

struct ProductVersion {
  uint32_t high = 0;  // major << 16 | minor
  uint32_t low = 0;   // build << 16 | revision
};

// The product version of `module`'s version resource (identifier 1). The resource is scanned
// in 32-bit steps for the fixed-information signature rather than parsed; a missing resource,
// a missing signature or a structure version of 0x29 or less gives 0.0.
ProductVersion ReadProductVersion(HMODULE module);
