#include <windows.h>

#include <unordered_map>

#include "platform/file_attributes.h"
#include "platform/folder_scan.h"
#include "platform/win32/file_time.h"
#include "platform/win32/unique_handles.h"

namespace platform {
namespace {

// A FindFirstFileExA search; the platform matches the mask, short names included.
class FindHandle {
 public:
  explicit FindHandle(const std::string& pattern)
      : m_hFind(FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &m_data, FindExSearchNameMatch, nullptr,
                                 FIND_FIRST_EX_LARGE_FETCH)) {}

  bool Valid() const { return static_cast<bool>(m_hFind); }
  const WIN32_FIND_DATAA& Data() const { return m_data; }
  bool Next() { return FindNextFileA(m_hFind.get(), &m_data) != FALSE; }

 private:
  // The first search fills it as the handle is made, so it comes first.
  WIN32_FIND_DATAA m_data{};
  UniqueFindHandle m_hFind;
};

// A folder below this one: a directory other than "." and "..".
bool IsSubfolder(uint32_t attributes, const char* name) {
  const bool dotName = name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
  return (attributes & kAttributeDirectory) && !dotName;
}

}  // namespace

// The search hands over every detail with the name: nothing is kept open.
class FolderScan::Source {};
FolderScan::FolderScan() = default;
FolderScan::~FolderScan() = default;

bool CompleteEntry(FolderScan&, uint32_t, unsigned) { return true; }

bool ScanFolder(const std::string& folder, const std::vector<std::string>& masks, unsigned needs, FolderScan& scan) {
  scan.Clear(masks.size());
  std::unordered_map<std::string, uint32_t> indexOf;
  auto record = [&](const WIN32_FIND_DATAA& data) {
    auto [it, added] = indexOf.try_emplace(data.cFileName, static_cast<uint32_t>(scan.entries.size()));
    if (added) scan.AddEntry(data.cFileName, data.dwFileAttributes, UnixSecondsFromFileTime(data.ftLastWriteTime));
    return it->second;
  };

  bool readable = false;
  int everything = -1;  // a mask whose search also lists every subfolder
  for (size_t m = 0; m < masks.size(); ++m) {
    if (masks[m] == "*" || masks[m] == "*.*") everything = static_cast<int>(m);
    if (masks[m].empty()) continue;
    FindHandle search(folder + masks[m]);
    if (!search.Valid()) continue;
    readable = true;
    do {
      scan.matches[m].push_back(record(search.Data()));
    } while (search.Next());
  }

  if (needs & kScanSubfolders) {
    if (everything >= 0) {
      for (uint32_t index : scan.matches[everything]) {
        if (IsSubfolder(scan.entries[index].attributes, scan.Name(index).data())) scan.subfolders.push_back(index);
      }
    } else {
      FindHandle search(folder + "*.*");
      if (search.Valid()) {
        readable = true;
        do {
          if (IsSubfolder(search.Data().dwFileAttributes, search.Data().cFileName)) {
            scan.subfolders.push_back(record(search.Data()));
          }
        } while (search.Next());
      }
    }
  }
  return readable;
}

// Every search names the folder in full: there is nothing to open relative to the parent.
bool ScanSubfolder(const FolderScan&, uint32_t, const std::string& folder, const std::vector<std::string>& masks,
                   unsigned needs, FolderScan& scan) {
  return ScanFolder(folder, masks, needs, scan);
}

}  // namespace platform
