#include <dirent.h>
#include <sys/stat.h>

#include <cstring>

#include "platform/directory_search.h"
#include "platform/host_path.h"
#include "platform/posix/dos_attributes.h"
#include "platform/posix/search_limits.h"
#include "platform/posix/wildcard_match.h"

namespace platform {

class DirectorySearch::Impl {
 public:
  ~Impl() { CloseDir(); }

  void CloseDir() {
    if (dir != nullptr) closedir(dir);
    dir = nullptr;
  }

  // The next directory entry that matches the mask and can still be looked at. A name holding
  // a "\" cannot be named by a Windows path, so it is never listed.
  bool Advance(FoundEntry& entry) {
    while (dir != nullptr) {
      const dirent* d = readdir(dir);
      if (d == nullptr) {
        CloseDir();
        return false;
      }
      if (std::strchr(d->d_name, '\\') == nullptr && WildcardMatch(mask, d->d_name) && Describe(d->d_name, entry)) {
        return true;
      }
    }
    return false;
  }

  bool Describe(const std::string& name, FoundEntry& entry) const {
    const std::string path = folder + name;
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return false;  // vanished, or a dangling link
    entry.name = name;
    entry.attributes = DosAttributesOf(path, name, st);
    entry.lastWriteTime = st.st_mtim.tv_sec;
    return true;
  }

  std::string folder;  // host form, ends in "/"
  std::string mask;
  DIR* dir = nullptr;
  FoundEntry pending;
  bool hasPending = false;
};

DirectorySearch::DirectorySearch() : m_pImpl(std::make_unique<Impl>()) {}
DirectorySearch::~DirectorySearch() = default;

bool DirectorySearch::Open(const std::string& pattern) {
  Close();
  if (pattern.size() > kLongestSearchPattern) return false;
  const size_t slash = pattern.find_last_of("\\/");
  if (slash == std::string::npos) return false;
  std::string hostFolder;
  if (!ToHostPath(pattern.substr(0, slash + 1), hostFolder)) return false;
  if (hostFolder.empty() || hostFolder.back() != '/') hostFolder += '/';
  m_pImpl->folder = hostFolder;
  m_pImpl->mask = pattern.substr(slash + 1);
  if (m_pImpl->mask.empty()) return false;

  // A plain name is looked up directly before the folder is read: the date lookup of every
  // candidate file is such a search.
  if (m_pImpl->mask.find_first_of("*?") == std::string::npos && m_pImpl->Describe(m_pImpl->mask, m_pImpl->pending)) {
    m_pImpl->hasPending = true;
    return true;
  }
  m_pImpl->dir = opendir(hostFolder.c_str());
  m_pImpl->hasPending = m_pImpl->Advance(m_pImpl->pending);
  return m_pImpl->hasPending;
}

bool DirectorySearch::Next(FoundEntry& entry) {
  if (!m_pImpl->hasPending) return false;
  entry = std::move(m_pImpl->pending);
  m_pImpl->hasPending = m_pImpl->Advance(m_pImpl->pending);
  return true;
}

void DirectorySearch::Close() {
  m_pImpl->CloseDir();
  m_pImpl->hasPending = false;
}

}  // namespace platform
