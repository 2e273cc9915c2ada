#include "host/size_text.h"

#include <iterator>

std::string SizeText(uint64_t bytes, bool human) {
  if (!human || bytes < 1024) return std::to_string(bytes) + (human ? " B" : "");
  static const char* const kUnits[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
  uint64_t unit = 1024;
  size_t index = 0;
  // Tenths of the unit, rounded; a size that rounds up to 1024.0 reads as 1.0 of the next unit.
  const auto tenths = [&] { return bytes / unit * 10 + ((bytes % unit) * 10 + unit / 2) / unit; };
  while (index + 1 < std::size(kUnits) && tenths() >= 10240) {
    unit *= 1024;
    ++index;
  }
  const uint64_t t = tenths();
  return std::to_string(t / 10) + "." + std::to_string(t % 10) + " " + kUnits[index];
}
