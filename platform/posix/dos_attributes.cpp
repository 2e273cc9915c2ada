#include "platform/posix/dos_attributes.h"

#include <sys/xattr.h>

#include <cstdio>
#include <cstdlib>

#include "platform/file_attributes.h"

namespace platform {
namespace {

constexpr const char* kDosAttributeName = "user.DOSATTRIB";
constexpr uint32_t kStoredBits = kAttributeHidden | kAttributeSystem | kAttributeTemporary;

}  // namespace

uint32_t StoredDosAttributes(const std::string& hostPath) {
  char text[32];
  const ssize_t size = getxattr(hostPath.c_str(), kDosAttributeName, text, sizeof text - 1);
  if (size <= 2 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return 0;
  text[size] = '\0';
  return static_cast<uint32_t>(std::strtoul(text + 2, nullptr, 16)) & kStoredBits;
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
