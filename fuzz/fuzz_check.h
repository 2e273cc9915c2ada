#pragma once
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// A property that does not hold is a crash to libFuzzer, which then keeps the input.
#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (0)

inline std::string InputText(const uint8_t* data, size_t size) { return {reinterpret_cast<const char*>(data), size}; }

// The input from `position` up to the next `separator` (or its end); `position` moves past the
// separator, or past the end when there is none.
inline std::string NextField(const std::string& input, size_t& position, char separator) {
  if (position > input.size()) return {};
  const size_t end = std::min(input.find(separator, position), input.size());
  std::string field = input.substr(position, end - position);
  position = end + 1;
  return field;
}
