#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// One folder looked at once on behalf of several masks: the backup run's hot path. Each mask
// matches what a directory search for folder + mask would find.
struct ScannedEntry {
  std::string name;
  uint32_t attributes = 0;    // the directory bit at once; the rest after CompleteEntry
  int64_t lastWriteTime = 0;  // seconds since 1970 UTC, after CompleteEntry with kEntryTime
};

enum ScanNeeds : unsigned {
  kScanSubfolders = 1,
};

enum EntryDetails : unsigned {
  kEntryAttributes = 1,  // hidden, system, temporary...
  kEntryTime = 2,
};

class FolderScan {
 public:
  FolderScan();
  ~FolderScan();
  FolderScan(const FolderScan&) = delete;
  FolderScan& operator=(const FolderScan&) = delete;

  std::vector<ScannedEntry> entries;          // every entry a mask matched, and every subfolder
  std::vector<std::vector<uint32_t>> matches;  // per mask, indices into entries, in search order
  std::vector<uint32_t> subfolders;            // with kScanSubfolders: folders below, not "." or ".."

  // What a platform keeps open so that details are read only for the entries that need them.
  class Source;
  std::unique_ptr<Source> source;
};

// `folder` ends in "\". Fills `scan`; false when the folder cannot be read.
bool ScanFolder(const std::string& folder, const std::vector<std::string>& masks, unsigned needs, FolderScan& scan);

// Reads the `details` of one entry where the search did not hand them over with its name;
// false when the entry is gone meanwhile.
bool CompleteEntry(FolderScan& scan, uint32_t index, unsigned details);

// Lets go of what the scan holds open; its entries stay.
void ReleaseFolder(FolderScan& scan);

}  // namespace platform
