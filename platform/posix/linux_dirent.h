#pragma once
#include <cstdint>

namespace platform {

// One record of what the getdents64 system call writes; glibc declares none.
struct LinuxDirent64 {
  uint64_t d_ino;
  int64_t d_off;
  unsigned short d_reclen;
  unsigned char d_type;
  char d_name[];
};

}  // namespace platform
