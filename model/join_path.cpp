#include "model/join_path.h"

std::string JoinPath(const std::string& a, const std::string& b) {
  if (b.empty()) return a;
  if (a.empty()) return b;
  if (a.back() == '\\') return a + b;
  return a + '\\' + b;
}
