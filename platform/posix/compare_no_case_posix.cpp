#include <cstdint>
#include <cstring>

#include "platform/compare_no_case.h"

namespace platform {
namespace {

// ASCII only, as the C locale folds: the result must not depend on the process's locale,
// or a sort and the duplicate pass after it could disagree.
unsigned char FoldToLower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c; }

}  // namespace

int CompareNoCase(std::string_view a, std::string_view b) {
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  const char* left = a.data();
  const char* right = b.data();
  // Paths of one run share long prefixes: step over equal bytes eight at a time.
  size_t i = 0;
  for (; i + 8 <= common; i += 8) {
    uint64_t x, y;
    std::memcpy(&x, left + i, 8);
    std::memcpy(&y, right + i, 8);
    if (x != y) break;
  }
  for (; i < common; ++i) {
    if (left[i] == right[i]) continue;
    const int diff = FoldToLower(static_cast<unsigned char>(left[i])) - FoldToLower(static_cast<unsigned char>(right[i]));
    if (diff != 0) return diff;
  }
  return (a.size() > common) - (b.size() > common);
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace platform
