#include <windows.h>

#include "platform/directory_search.h"
#include "platform/win32/file_time.h"
#include "platform/win32/unique_handles.h"

namespace platform {

class DirectorySearch::Impl {
 public:
  UniqueFindHandle handle;
  WIN32_FIND_DATAA pending{};
  bool hasPending = false;
};

DirectorySearch::DirectorySearch() : m_pImpl(std::make_unique<Impl>()) {}
DirectorySearch::~DirectorySearch() { Close(); }

bool DirectorySearch::Open(const std::string& pattern) {
  Close();
  m_pImpl->handle.reset(FindFirstFileA(pattern.c_str(), &m_pImpl->pending));
  m_pImpl->hasPending = static_cast<bool>(m_pImpl->handle);
  return m_pImpl->hasPending;
}

bool DirectorySearch::Next(FoundEntry& entry) {
  if (!m_pImpl->handle) return false;
  if (!m_pImpl->hasPending && !FindNextFileA(m_pImpl->handle.get(), &m_pImpl->pending)) return false;
  m_pImpl->hasPending = false;
  entry.name = m_pImpl->pending.cFileName;
  entry.attributes = m_pImpl->pending.dwFileAttributes;
  entry.lastWriteTime = UnixSecondsFromFileTime(m_pImpl->pending.ftLastWriteTime);
  return true;
}

void DirectorySearch::Close() {
  m_pImpl->handle.reset();
  m_pImpl->hasPending = false;
}

}  // namespace platform
