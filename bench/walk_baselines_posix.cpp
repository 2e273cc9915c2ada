#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bench/walk_baselines.h"
#include "platform/posix/dos_attributes.h"
#include "platform/posix/linux_dirent.h"

namespace {

enum class PerFile { kNothing, kStat, kAttribute };

template <PerFile kPerFile>
size_t Walk(int fd) {
  alignas(8) char buffer[1 << 15];
  std::vector<std::string> subfolders;
  size_t files = 0;
  for (;;) {
    const long size = syscall(SYS_getdents64, fd, buffer, sizeof buffer);
    if (size <= 0) break;
    for (long offset = 0; offset < size;) {
      const auto* d = reinterpret_cast<const platform::LinuxDirent64*>(buffer + offset);
      offset += d->d_reclen;
      const char* name = d->d_name;
      if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
      if (d->d_type == DT_DIR) {
        subfolders.emplace_back(name);
      } else {
        if (kPerFile == PerFile::kStat) {
          struct stat st;
          fstatat(fd, name, &st, 0);
        } else if (kPerFile == PerFile::kAttribute) {
          platform::StoredDosAttributesAt(fd, name, name);
        }
        ++files;
      }
    }
  }
  for (const std::string& name : subfolders) {
    const int child = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (child < 0) continue;
    files += Walk<kPerFile>(child);
    close(child);
  }
  return files;
}

template <PerFile kPerFile>
size_t WalkFrom(const std::string& hostRoot) {
  const int fd = open(hostRoot.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return 0;
  const size_t files = Walk<kPerFile>(fd);
  close(fd);
  return files;
}

}  // namespace

size_t BareWalk(const std::string& hostRoot) { return WalkFrom<PerFile::kNothing>(hostRoot); }
size_t StatWalk(const std::string& hostRoot) { return WalkFrom<PerFile::kStat>(hostRoot); }
size_t AttributeWalk(const std::string& hostRoot) { return WalkFrom<PerFile::kAttribute>(hostRoot); }
