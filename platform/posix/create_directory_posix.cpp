#include <sys/stat.h>

#include "platform/create_directory.h"
#include "platform/host_path.h"

namespace platform {

bool MakeDirectory(const std::string& path) {
  std::string hostPath;
  if (!ToHostPath(path, hostPath)) return false;
  return mkdir(hostPath.c_str(), 0777) == 0;
}

}  // namespace platform
