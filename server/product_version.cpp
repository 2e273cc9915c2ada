#include "server/product_version.h"

#include <cstring>

namespace {
constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr uint32_t kOldestStructVersion = 0x29;
}  // namespace

ProductVersion ReadProductVersion(HMODULE module) {
  ProductVersion version;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16) /* RT_VERSION */);
  if (!found) return version;
  const DWORD size = SizeofResource(module, found);
  HGLOBAL loaded = LoadResource(module, found);
  const auto* data = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
  if (!data) return version;

  // Signature, structure version, file version (2 words), product version (2 words).
  const auto word = [data](DWORD offset) {
    uint32_t value;
    std::memcpy(&value, data + offset, sizeof value);
    return value;
  };
  for (DWORD offset = 0; offset + 6 * sizeof(uint32_t) <= size; offset += sizeof(uint32_t)) {
    if (word(offset) != kFixedInfoSignature) continue;
    if (word(offset + 4) > kOldestStructVersion) {
      version.high = word(offset + 16);
      version.low = word(offset + 20);
    }
    break;
  }
  return version;
}
