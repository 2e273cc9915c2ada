#pragma once
#include <string>
#include <vector>

#include "platform/registry.h"

// A key path text ("HKEY_CURRENT_USER\SOFTWARE\Korvel") taken apart: its root and the levels
// to open below it, in order. No levels means the root key itself.
struct KeyPath {
  platform::RegistryRoot root = platform::RegistryRoot::kCurrentUser;
  std::vector<std::string> levels;
};

// False when the text before the first backslash (from index 1 on) is not one of the seven
// full root names, in any case. An empty first level stands for the root itself, whatever
// follows; a later empty level (a trailing backslash) opens the same key once more.
bool ParseKeyPath(const std::string& path, KeyPath& parsed);
