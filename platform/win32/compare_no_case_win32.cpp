#include <mbstring.h>
#include <string.h>

#include "platform/compare_no_case.h"

namespace platform {

int CompareNoCase(const std::string& a, const std::string& b) {
  const auto* left = reinterpret_cast<const unsigned char*>(a.c_str());
  const auto* right = reinterpret_cast<const unsigned char*>(b.c_str());
  const int result = _mbsicmp(left, right);
  // The error value is a large positive number whichever way round the pair is asked, which
  // would make a sort's comparison contradict itself; the plain byte order cannot.
  if (result == _NLSCMPERROR) return strcmp(a.c_str(), b.c_str());
  return result;
}

}  // namespace platform
