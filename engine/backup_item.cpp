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
  if (length > m_nBlockLeft) {
    const size_t size = length > kBlockSize ? length : kBlockSize;
    m_blocks.push_back(std::make_unique<char[]>(size));
    m_pBlockNext = m_blocks.back().get();
    m_nBlockLeft = size;
  }
  if (!folder.empty()) std::memcpy(m_pBlockNext, folder.data(), folder.size());
  if (!name.empty()) std::memcpy(m_pBlockNext + folder.size(), name.data(), name.size());
  m_paths.emplace_back(m_pBlockNext, length);
  m_pBlockNext += length;
  m_nBlockLeft -= length;
}
