#include "model/backup_page_rules.h"

#include "platform/compare_no_case.h"
#include "platform/file_attributes.h"

std::string RowKey(std::string_view path) { return platform::UpperCase(path); }

size_t RowPosition(size_t count, const std::function<std::string(size_t)>& keyAt, const std::string& key) {
  size_t first = 0;
  while (count > 0) {
    const size_t half = count / 2;
    if (keyAt(first + half) < key) {
      first += half + 1;
      count -= half + 1;
    } else {
      count = half;
    }
  }
  return first;
}

std::string ProbePattern(const std::string& path) {
  const size_t n = path.size();
  if (n > 1 && path[0] == '\\' && path[1] == '\\' && path[n - 1] != '*' && path[n - 2] != '\\') return path + "\\*";
  return path;
}

bool IsTreeFolder(std::string_view name, uint32_t attributes) {
  using namespace platform;
  return (attributes & kAttributeDirectory) && !(attributes & (kAttributeSystem | kAttributeTemporary)) &&
         name.substr(0, 1) != ".";
}
