#include "registry/key_path.h"

namespace {

struct RootName {
  const char* name;
  platform::RegistryRoot root;
};

constexpr RootName kRootNames[] = {
    {"HKEY_CLASSES_ROOT", platform::RegistryRoot::kClassesRoot},
    {"HKEY_CURRENT_CONFIG", platform::RegistryRoot::kCurrentConfig},
    {"HKEY_CURRENT_USER", platform::RegistryRoot::kCurrentUser},
    {"HKEY_LOCAL_MACHINE", platform::RegistryRoot::kLocalMachine},
    {"HKEY_USERS", platform::RegistryRoot::kUsers},
    {"HKEY_PERFORMANCE_DATA", platform::RegistryRoot::kPerformanceData},
    {"HKEY_DYN_DATA", platform::RegistryRoot::kDynData},
};

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// `name` is upper case already.
bool EqualsIgnoringAsciiCase(const std::string& text, const char* name) {
  size_t i = 0;
  for (; i < text.size() && name[i] != '\0'; ++i) {
    if (AsciiUpper(text[i]) != name[i]) return false;
  }
  return i == text.size() && name[i] == '\0';
}

}  // namespace

bool ParseKeyPath(const std::string& path, KeyPath& parsed) {
  const size_t rootEnd = path.empty() ? std::string::npos : path.find('\\', 1);
  const std::string rootName = path.substr(0, rootEnd);
  const RootName* match = nullptr;
  for (const RootName& candidate : kRootNames) {
    if (EqualsIgnoringAsciiCase(rootName, candidate.name)) {
      match = &candidate;
      break;
    }
  }
  if (match == nullptr) return false;
  parsed.root = match->root;
  parsed.levels.clear();
  if (rootEnd == std::string::npos) return true;

  size_t start = rootEnd + 1;
  for (;;) {
    const size_t end = path.find('\\', start);
    std::string level = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (parsed.levels.empty() && level.empty()) return true;
    parsed.levels.push_back(std::move(level));
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}
