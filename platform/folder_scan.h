#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// One folder looked at once on behalf of several masks: the backup run's hot path. Each mask
// matches what a directory search for folder + mask would find.
struct ScannedEntry {
  uint32_t nameOffset = 0;    // into FolderScan::names
  uint32_t nameSize = 0;
  uint32_t attributes = 0;    // the directory bit at once; the rest after CompleteEntry
  int64_t lastWriteTime = 0;  // seconds since 1970 UTC, after CompleteEntry with kEntryTime
};

enum ScanNeeds : unsigned {
  kScanSubfolders = 1,
};

enum EntryDetails : unsigned {
  kEntryAttributes = 1,  // what can keep a file out of a folder's selection: the temporary mark
  kEntryTime = 2,
};

// Reused from folder to folder, so that a walk allocates only while its folders grow.
class FolderScan {
 public:
  FolderScan();
  ~FolderScan();
  FolderScan(const FolderScan&) = delete;
  FolderScan& operator=(const FolderScan&) = delete;

  std::string_view Name(uint32_t index) const {
    return {names.data() + entries[index].nameOffset, entries[index].nameSize};
  }
  uint32_t AddEntry(std::string_view name, uint32_t attributes, int64_t lastWriteTime) {
    entries.push_back({static_cast<uint32_t>(names.size()), static_cast<uint32_t>(name.size()), attributes,
                       lastWriteTime});
    names.append(name);
    names.push_back('\0');
    return static_cast<uint32_t>(entries.size() - 1);
  }
  void Clear(size_t maskCount) {
    names.clear();
    entries.clear();
    subfolders.clear();
    matches.resize(maskCount);
    for (auto& m : matches) m.clear();
  }

  std::string names;                           // every entry's name, each followed by a NUL
  std::vector<ScannedEntry> entries;           // every entry a mask matched, and every subfolder
  std::vector<std::vector<uint32_t>> matches;  // per mask, indices into entries, in search order
  std::vector<uint32_t> subfolders;            // with kScanSubfolders: folders below, not "." or ".."

  // What a platform keeps open so that details are read only for the entries that need them,
  // and so that a subfolder is opened from its parent.
  class Source;
  std::unique_ptr<Source> source;
};

// `folder` ends in "\". Fills `scan`; false when the folder cannot be read.
bool ScanFolder(const std::string& folder, const std::vector<std::string>& masks, unsigned needs, FolderScan& scan);

// The same for the subfolder `parent` lists at `index`, whose full text is `folder`; `parent`
// must not be scanned again meanwhile.
bool ScanSubfolder(const FolderScan& parent, uint32_t index, const std::string& folder,
                   const std::vector<std::string>& masks, unsigned needs, FolderScan& scan);

// Reads the `details` of one entry where the search did not hand them over with its name;
// false when the entry is gone meanwhile.
bool CompleteEntry(FolderScan& scan, uint32_t index, unsigned details);

}  // namespace platform
