#include <array>
#include <cctype>
#include <vector>

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

  // "." and ".." are resolved on the text, as Windows resolves them, and ".." stops at the
  // drive's root: no path may reach outside the folder its drive stands for.
  std::vector<std::string> components;
  size_t start = 2;
  while (start <= windowsPath.size()) {
    size_t end = windowsPath.find_first_of("\\/", start);
    if (end == std::string::npos) end = windowsPath.size();
    const std::string component = windowsPath.substr(start, end - start);
    if (component == "..") {
      if (!components.empty()) components.pop_back();
    } else if (!component.empty() && component != ".") {
      components.push_back(component);
    }
    start = end + 1;
  }
  hostPath = root;
  for (size_t i = 0; i < components.size(); ++i) hostPath += (i == 0 ? "" : "/") + components[i];
  const char last = windowsPath.back();
  if (!components.empty() && (last == '\\' || last == '/')) hostPath += '/';
  return true;
}

std::string FromHostPath(const std::string& hostPath) {
  std::string result = "Z:";
  for (char ch : hostPath) result += (ch == '/') ? '\\' : ch;
  if (result.size() == 2) result += '\\';
  return result;
}

}  // namespace platform
