#include "engine/selection_rules.h"

std::string LocalNameOf(const std::string& path) {
  if (path.empty() || path == "\\") return path;
  size_t end = path.size();  // one past the last character taken
  if (path.back() == '\\') --end;
  const size_t slash = path.rfind('\\', end - 1);
  const size_t begin = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(begin, end - begin);
}
