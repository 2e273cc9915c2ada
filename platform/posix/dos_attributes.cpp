#include "platform/posix/dos_attributes.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include <cstdio>
#include <cstdlib>

#include "platform/file_attributes.h"
#include "platform/temporary_mark.h"

namespace platform {
namespace {

constexpr const char* kDosAttributeName = "user.DOSATTRIB";
constexpr uint32_t kStoredBits = kAttributeHidden | kAttributeSystem | kAttributeTemporary;

// Linux 6.13 and later read an extended attribute relative to an open folder.
#ifndef SYS_getxattrat
#define SYS_getxattrat 464
#endif
struct XattrArgs {
  uint64_t value;
  uint32_t size;
  uint32_t flags;
};
std::atomic<bool> g_noGetxattrat{false};
std::atomic<bool> g_temporaryMarkKept{false};

uint32_t ParseStored(char* text, ssize_t size) {
  if (size <= 2 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return 0;
  text[size] = '\0';
  const uint32_t kept = TemporaryMarkKept() ? kStoredBits : kStoredBits & ~kAttributeTemporary;
  return static_cast<uint32_t>(std::strtoul(text + 2, nullptr, 16)) & kept;
}

}  // namespace

bool TemporaryMarkKept() { return g_temporaryMarkKept.load(std::memory_order_relaxed); }
void KeepTemporaryMark(bool kept) { g_temporaryMarkKept.store(kept, std::memory_order_relaxed); }

uint32_t StoredDosAttributes(const std::string& hostPath) {
  char text[32];
  return ParseStored(text, getxattr(hostPath.c_str(), kDosAttributeName, text, sizeof text - 1));
}

uint32_t StoredDosAttributesAt(int folderFd, const char* name, const std::string& hostPath) {
  if (!g_noGetxattrat.load(std::memory_order_relaxed)) {
    char text[32];
    XattrArgs args{reinterpret_cast<uintptr_t>(text), sizeof text - 1, 0};
    const long size = syscall(SYS_getxattrat, folderFd, name, 0, kDosAttributeName, &args, sizeof args);
    if (size >= 0 || errno != ENOSYS) return ParseStored(text, size);
    g_noGetxattrat.store(true, std::memory_order_relaxed);
  }
  return StoredDosAttributes(hostPath);
}

uint32_t DosAttributesOf(const std::string& hostPath, const std::string& name, const struct stat& st) {
  uint32_t attributes = S_ISDIR(st.st_mode) ? kAttributeDirectory : kAttributeArchive;
  if (!(st.st_mode & S_IWUSR)) attributes |= kAttributeReadOnly;
  if (name.size() > 1 && name[0] == '.' && name != "..") attributes |= kAttributeHidden;
  return attributes | StoredDosAttributes(hostPath);
}

std::string DosAttributeText(uint32_t attributes) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", attributes & kStoredBits);
  return text;
}

}  // namespace platform
