#include <mbstring.h>
#include <string.h>

#include <algorithm>

#include "platform/compare_no_case.h"

namespace platform {

int CompareNoCase(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  const auto* left = reinterpret_cast<const unsigned char*>(a.data());
  const auto* right = reinterpret_cast<const unsigned char*>(b.data());
  int result = common == 0 ? 0 : _mbsnbicmp(left, right, common);
  // The error value is a large positive number whichever way round the pair is asked, which
  // would make a sort's comparison contradict itself; the plain byte order cannot.
  if (result == _NLSCMPERROR) result = memcmp(left, right, common);
  if (result != 0) return result;
  return (a.size() > common) - (b.size() > common);
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  // Paths hold no zero byte, so the whole text is folded.
  _mbsupr(reinterpret_cast<unsigned char*>(upper.data()));
  return upper;
}

}  // namespace platform
