#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_attributes.h"
#include "platform/folder_scan.h"
#include "platform/host_path.h"
#include "platform/posix/dos_attributes.h"
#include "platform/posix/search_limits.h"
#include "platform/posix/wildcard_match.h"

namespace platform {

// The open folder, so that an entry's details cost one call relative to it, made only for
// the entries that are still candidates once every mask has had its say.
class FolderScan::Source {
 public:
  explicit Source(std::string hostFolder) : host_(std::move(hostFolder)), dir_(opendir(host_.c_str())) {}
  ~Source() {
    if (dir_ != nullptr) closedir(dir_);
  }
  Source(const Source&) = delete;
  Source& operator=(const Source&) = delete;

  bool Valid() const { return dir_ != nullptr; }
  int Fd() const { return dirfd(dir_); }
  const dirent* Next() { return readdir(dir_); }
  std::string PathOf(const std::string& name) const { return host_ + name; }

 private:
  std::string host_;  // ends in "/"
  DIR* dir_;
};

namespace {

bool HasWildcard(const std::string& mask) { return mask.find_first_of("*?") != std::string::npos; }

bool IsDotName(const char* name) { return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)); }

// A plain name is looked up as it stands first, as the platform does: when that exact name
// exists, it alone matches; otherwise its letter-case variants do. Empty when the mask has
// wildcards or no file has exactly its name.
std::string ExistingExactName(int folderFd, const std::string& mask) {
  if (HasWildcard(mask)) return {};
  std::string name = mask;
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  struct stat st {};
  if (name.empty() || fstatat(folderFd, name.c_str(), &st, 0) != 0) return {};
  return name;
}

}  // namespace

FolderScan::FolderScan() = default;
FolderScan::~FolderScan() = default;

bool ScanFolder(const std::string& folder, const std::vector<std::string>& masks, unsigned needs, FolderScan& scan) {
  scan.entries.clear();
  scan.subfolders.clear();
  scan.matches.assign(masks.size(), {});
  scan.source.reset();
  std::string host;
  if (!ToHostPath(folder, host)) return false;
  if (host.back() != '/') host += '/';
  auto source = std::make_unique<FolderScan::Source>(host);
  if (!source->Valid()) return false;

  // Per mask: whether the platform would search it at all, and the exact name a plain mask
  // stands for when that name exists.
  std::vector<char> searched(masks.size());
  std::vector<std::string> exactName(masks.size());
  for (size_t m = 0; m < masks.size(); ++m) {
    searched[m] = !masks[m].empty() && folder.size() + masks[m].size() <= kLongestSearchPattern;
    if (searched[m]) exactName[m] = ExistingExactName(source->Fd(), masks[m]);
  }
  const bool listSubfolders = (needs & kScanSubfolders) && folder.size() + 3 <= kLongestSearchPattern;  // "*.*"

  while (const dirent* d = source->Next()) {
    const char* name = d->d_name;
    uint32_t index = UINT32_MAX;
    int isDirectory = -1;  // unknown until asked
    auto directory = [&]() -> int {
      if (isDirectory < 0) {
        if (d->d_type == DT_DIR || d->d_type == DT_REG) {
          isDirectory = d->d_type == DT_DIR;
        } else {
          struct stat st {};
          // A dangling link or a vanished entry is no entry at all.
          isDirectory = fstatat(source->Fd(), name, &st, 0) != 0 ? 2 : S_ISDIR(st.st_mode) ? 1 : 0;
        }
      }
      return isDirectory;
    };
    auto add = [&]() -> bool {
      if (index != UINT32_MAX) return true;
      if (directory() == 2) return false;
      index = static_cast<uint32_t>(scan.entries.size());
      scan.entries.push_back({name, isDirectory ? kAttributeDirectory : 0u, 0});
      return true;
    };

    for (size_t m = 0; m < masks.size(); ++m) {
      if (!searched[m]) continue;
      const bool matched = exactName[m].empty() ? WildcardMatch(masks[m], name) : exactName[m] == name;
      if (matched && add()) scan.matches[m].push_back(index);
    }
    if (listSubfolders && !IsDotName(name) && directory() == 1 && add()) scan.subfolders.push_back(index);
  }
  scan.source = std::move(source);
  return true;
}

bool CompleteEntry(FolderScan& scan, uint32_t index, unsigned details) {
  if (!scan.source) return false;
  ScannedEntry& entry = scan.entries[index];
  const int fd = scan.source->Fd();
  if (details & kEntryTime) {
    struct stat st {};
    if (fstatat(fd, entry.name.c_str(), &st, 0) != 0) return false;
    entry.lastWriteTime = st.st_mtim.tv_sec;
  }
  if ((details & kEntryAttributes) && !(entry.attributes & kAttributeDirectory)) {
    entry.attributes |= kAttributeArchive | StoredDosAttributesAt(fd, entry.name.c_str(), scan.source->PathOf(entry.name));
  }
  return true;
}

void ReleaseFolder(FolderScan& scan) { scan.source.reset(); }

}  // namespace platform
