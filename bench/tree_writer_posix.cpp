#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

#include "bench/tree_writer.h"
#include "platform/host_path.h"

namespace {

std::string HostForm(const std::string& root, const std::string& relative) {
  std::string path = root + "/" + relative;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

}  // namespace

std::string EnsureTreeOnDisk(const GeneratedTree& tree, const std::string& root) {
  const std::string marker = root + ".complete";  // beside the tree, not in it
  if (access(marker.c_str(), F_OK) != 0) {
    mkdir(root.c_str(), 0755);
    for (const std::string& folder : tree.folders) mkdir(HostForm(root, folder).c_str(), 0755);
    for (const GeneratedTree::File& file : tree.files) {
      const int fd = open(HostForm(root, file.path).c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
      if (fd < 0) throw std::runtime_error("cannot create " + file.path);
      const timespec times[2] = {{file.lastWrite, 0}, {file.lastWrite, 0}};
      futimens(fd, times);
      close(fd);
    }
    const int fd = open(marker.c_str(), O_CREAT | O_WRONLY, 0644);
    if (fd >= 0) close(fd);
  }
  return platform::FromHostPath(root) + "\\";
}
