#include <array>
#include <cctype>

#include "platform/host_path.h"

namespace platform {
namespace {

// Index 0..25 for A..Z; Z: is the file system root, as in a default Wine prefix.
std::array<std::string, 26>& DriveRoots() {
  static std::array<std::string, 26> roots = [] {
    std::array<std::string, 26> r;
    r[25] = "/";
    return r;
  }();
  return roots;
}

}  // namespace

void MapDrive(char letter, const std::string& folder) {
  const int c = std::toupper(static_cast<unsigned char>(letter));
  if (c < 'A' || c > 'Z') return;
  std::string root = folder;
  if (!root.empty() && root.back() != '/') root += '/';
  DriveRoots()[c - 'A'] = root;
}

bool ToHostPath(const std::string& windowsPath, std::string& hostPath) {
  if (windowsPath.size() < 2 || windowsPath[1] != ':') return false;
  const int c = std::toupper(static_cast<unsigned char>(windowsPath[0]));
  if (c < 'A' || c > 'Z') return false;
  const std::string& root = DriveRoots()[c - 'A'];
  if (root.empty()) return false;

  hostPath = root;
  size_t i = 2;
  while (i < windowsPath.size() && (windowsPath[i] == '\\' || windowsPath[i] == '/')) ++i;
  for (; i < windowsPath.size(); ++i) {
    const char ch = windowsPath[i];
    hostPath += (ch == '\\') ? '/' : ch;
  }
  return true;
}

std::string FromHostPath(const std::string& hostPath) {
  std::string result = "Z:";
  for (char ch : hostPath) result += (ch == '/') ? '\\' : ch;
  if (result.size() == 2) result += '\\';
  return result;
}

}  // namespace platform
