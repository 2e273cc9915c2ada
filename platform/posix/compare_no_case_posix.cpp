#include "platform/compare_no_case.h"

namespace platform {
namespace {

// ASCII only, as the C locale folds: the result must not depend on the process's locale,
// or a sort and the duplicate pass after it could disagree.
unsigned char FoldToLower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c; }

}  // namespace

int CompareNoCase(const std::string& a, const std::string& b) {
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < common; ++i) {
    const int diff = FoldToLower(static_cast<unsigned char>(a[i])) - FoldToLower(static_cast<unsigned char>(b[i]));
    if (diff != 0) return diff;
  }
  return (a.size() > common) - (b.size() > common);
}

}  // namespace platform
