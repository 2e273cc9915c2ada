#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "platform/host_path.h"
#include "platform/posix/dos_attributes.h"
#include "tests/support/temp_tree.h"

namespace {

std::string HostOf(const std::string& windowsPath) {
  std::string host;
  if (!platform::ToHostPath(windowsPath, host)) throw std::runtime_error("unmapped path " + windowsPath);
  return host;
}

void MakeParents(const std::string& hostPath) {
  for (size_t slash = hostPath.find('/', 1); slash != std::string::npos; slash = hostPath.find('/', slash + 1)) {
    mkdir(hostPath.substr(0, slash).c_str(), 0755);
  }
}

int RemoveOne(const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }

}  // namespace

TempTree::TempTree() {
  const char* base = std::getenv("BKQN_TEST_TMPDIR");
  std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/tree-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  m_strRoot = platform::FromHostPath(pattern) + "\\";
}

TempTree::~TempTree() { nftw(HostOf(m_strRoot).c_str(), RemoveOne, 16, FTW_DEPTH | FTW_PHYS); }

void TempTree::AddFolder(const std::string& relative) { MakeParents(HostOf(Path(relative)) + "/"); }

void TempTree::AddFile(const std::string& relative, int64_t lastWrite, uint32_t attributes) {
  const std::string host = HostOf(Path(relative));
  MakeParents(host);
  const int fd = open(host.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  if (fd < 0) throw std::runtime_error("cannot create " + host);
  const std::string content = relative + "\n";
  if (write(fd, content.data(), content.size()) < 0) throw std::runtime_error("cannot write " + host);
  if (attributes != 0) {
    const std::string text = platform::DosAttributeText(attributes);
    fsetxattr(fd, "user.DOSATTRIB", text.data(), text.size(), 0);
  }
  const timespec times[2] = {{static_cast<time_t>(lastWrite), 0}, {static_cast<time_t>(lastWrite), 0}};
  futimens(fd, times);
  close(fd);
}
