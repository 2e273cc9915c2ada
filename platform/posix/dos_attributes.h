#pragma once
#include <sys/stat.h>

#include <cstdint>
#include <string>

namespace platform {

// Win32 attributes of a host file, as Wine derives them: directory and read-only from the
// file's mode, dot-files hidden, and hidden/system from the "user.DOSATTRIB" extended
// attribute ("0x" and hex digits) when it is there; temporary too where the mark is kept
// (platform/temporary_mark.h).
uint32_t DosAttributesOf(const std::string& hostPath, const std::string& name, const struct stat& st);

// Only the hidden, system (and kept temporary) bits the extended attribute holds; 0 without one.
uint32_t StoredDosAttributes(const std::string& hostPath);
// The same for `name` in the open folder `folderFd`, without walking the whole path again
// where the kernel can (getxattrat); `hostPath` is the name's full path for kernels that cannot.
uint32_t StoredDosAttributesAt(int folderFd, const char* name, const std::string& hostPath);

// The extended attribute's value for `attributes`, in the form Wine writes.
std::string DosAttributeText(uint32_t attributes);

}  // namespace platform
