#include "engine/backup_item.h"

#include <cstring>

#include "platform/compare_no_case.h"

namespace {
constexpr size_t kBlockSize = size_t{1} << 20;
}

bool PathBefore(std::string_view a, std::string_view b) { return platform::CompareNoCase(a, b) < 0; }
bool SamePath(std::string_view a, std::string_view b) { return platform::CompareNoCase(a, b) == 0; }

std::string_view LocalNameView(std::string_view path) {
  if (path.empty() || path == "\\") return path;
  size_t end = path.size();  // one past the last character taken
  if (path.back() == '\\') --end;
  const size_t slash = end == 0 ? std::string_view::npos : path.rfind('\\', end - 1);
  const size_t begin = slash == std::string_view::npos ? 0 : slash + 1;
  return path.substr(begin, end - begin);
}

void BackupItems::Add(std::string_view folder, std::string_view name) {
  const size_t length = folder.size() + name.size();
  if (length > blockLeft_) {
    const size_t size = length > kBlockSize ? length : kBlockSize;
    blocks_.push_back(std::make_unique<char[]>(size));
    blockNext_ = blocks_.back().get();
    blockLeft_ = size;
  }
  if (!folder.empty()) std::memcpy(blockNext_, folder.data(), folder.size());
  if (!name.empty()) std::memcpy(blockNext_ + folder.size(), name.data(), name.size());
  paths_.emplace_back(blockNext_, length);
  blockNext_ += length;
  blockLeft_ -= length;
}
