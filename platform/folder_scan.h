#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// One folder looked at once on behalf of several masks: the backup run's hot path. Each mask
// matches what a directory search for folder + mask would find.
struct ScannedEntry {
  std::string name;
  uint32_t attributes = 0;    // the directory and temporary bits at least
  int64_t lastWriteTime = 0;  // seconds since 1970 UTC; only with kScanTimes
};

struct FolderScan {
  std::vector<ScannedEntry> entries;          // every entry a mask matched, and every subfolder
  std::vector<std::vector<uint32_t>> matches;  // per mask, indices into entries, in search order
  std::vector<uint32_t> subfolders;            // with kScanSubfolders: folders below, not "." or ".."
  void Clear();
};

enum ScanNeeds : unsigned {
  kScanSubfolders = 1,
  kScanTimes = 2,  // last-write times of the matched files
};

// `folder` ends in "\". Fills `scan`; false when the folder cannot be read.
bool ScanFolder(const std::string& folder, const std::vector<std::string>& masks, unsigned needs, FolderScan& scan);

}  // namespace platform
