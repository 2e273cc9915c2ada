#pragma once
#include <string>
#include <vector>

// One file of a backup run: its full path and the name it is handed to the host under.
struct BackupItem {
  std::string FileName;
  std::string LocalName;
};

using BackupItems = std::vector<BackupItem>;
