#pragma once
#include <cstdint>

namespace platform {

// The Win32 attribute bits the core looks at; the values are the platform's own so both
// builds store and compare the same numbers.
constexpr uint32_t kAttributeReadOnly = 0x01;
constexpr uint32_t kAttributeHidden = 0x02;
constexpr uint32_t kAttributeSystem = 0x04;
constexpr uint32_t kAttributeDirectory = 0x10;
constexpr uint32_t kAttributeArchive = 0x20;
constexpr uint32_t kAttributeNormal = 0x80;
constexpr uint32_t kAttributeTemporary = 0x100;

}  // namespace platform
