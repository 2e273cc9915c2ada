#include <windows.h>

#include "platform/directory_search.h"
#include "platform/win32/file_time.h"

namespace platform {

class DirectorySearch::Impl {
 public:
  HANDLE handle = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAA pending{};
  bool hasPending = false;
};

DirectorySearch::DirectorySearch() : impl_(std::make_unique<Impl>()) {}
DirectorySearch::~DirectorySearch() { Close(); }

bool DirectorySearch::Open(const std::string& pattern) {
  Close();
  impl_->handle = FindFirstFileA(pattern.c_str(), &impl_->pending);
  impl_->hasPending = impl_->handle != INVALID_HANDLE_VALUE;
  return impl_->hasPending;
}

bool DirectorySearch::Next(FoundEntry& entry) {
  if (impl_->handle == INVALID_HANDLE_VALUE) return false;
  if (!impl_->hasPending && !FindNextFileA(impl_->handle, &impl_->pending)) return false;
  impl_->hasPending = false;
  entry.name = impl_->pending.cFileName;
  entry.attributes = impl_->pending.dwFileAttributes;
  entry.lastWriteTime = UnixSecondsFromFileTime(impl_->pending.ftLastWriteTime);
  return true;
}

void DirectorySearch::Close() {
  if (impl_->handle != INVALID_HANDLE_VALUE) FindClose(impl_->handle);
  impl_->handle = INVALID_HANDLE_VALUE;
  impl_->hasPending = false;
}

}  // namespace platform
