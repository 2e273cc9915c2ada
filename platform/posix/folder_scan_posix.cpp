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
namespace {

class DirectoryStream {
 public:
  explicit DirectoryStream(const std::string& path) : dir_(opendir(path.c_str())) {}
  ~DirectoryStream() {
    if (dir_ != nullptr) closedir(dir_);
  }
  DirectoryStream(const DirectoryStream&) = delete;
  DirectoryStream& operator=(const DirectoryStream&) = delete;

  bool Valid() const { return dir_ != nullptr; }
  int Fd() const { return dirfd(dir_); }
  const dirent* Next() { return readdir(dir_); }

 private:
  DIR* dir_;
};

bool HasWildcard(const std::string& mask) { return mask.find_first_of("*?") != std::string::npos; }

bool IsDotName(const char* name) { return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)); }

// A plain name is looked up as it stands first, as the platform does: when that exact name
// exists, it alone matches; otherwise its letter-case variants do. Empty when the mask has
// wildcards or no file has exactly its name.
std::string ExistingExactName(const DirectoryStream& dir, const std::string& mask) {
  if (HasWildcard(mask)) return {};
  std::string name = mask;
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  struct stat st {};
  if (name.empty() || fstatat(dir.Fd(), name.c_str(), &st, 0) != 0) return {};
  return name;
}

}  // namespace

bool ScanFolder(const std::string& folder, const std::vector<std::string>& masks, unsigned needs, FolderScan& scan) {
  scan.Clear();
  scan.matches.resize(masks.size());
  std::string host;
  const bool listSubfolders = (needs & kScanSubfolders) && folder.size() + 3 <= kLongestSearchPattern;  // "*.*"
  if (!ToHostPath(folder, host)) return false;
  if (host.back() != '/') host += '/';
  DirectoryStream dir(host);
  if (!dir.Valid()) return false;

  // Per mask: whether the platform would search it at all, and whether a plain name must
  // match exactly.
  std::vector<char> searched(masks.size());
  std::vector<std::string> exactName(masks.size());
  for (size_t m = 0; m < masks.size(); ++m) {
    searched[m] = !masks[m].empty() && folder.size() + masks[m].size() <= kLongestSearchPattern;
    if (searched[m]) exactName[m] = ExistingExactName(dir, masks[m]);
  }

  const size_t hostFolderLength = host.size();
  while (const dirent* d = dir.Next()) {
    const char* name = d->d_name;
    uint32_t index = UINT32_MAX;
    bool known = false, isDirectory = false;
    struct stat st {};
    auto describe = [&]() -> bool {
      if (known) return true;
      if (d->d_type == DT_DIR || d->d_type == DT_REG) {
        isDirectory = d->d_type == DT_DIR;
      } else {
        if (fstatat(dir.Fd(), name, &st, 0) != 0) return false;  // dangling link, vanished
        isDirectory = S_ISDIR(st.st_mode);
      }
      known = true;
      return true;
    };
    auto add = [&]() -> bool {
      if (index != UINT32_MAX) return true;
      if (!describe()) return false;
      ScannedEntry entry;
      entry.name = name;
      entry.attributes = isDirectory ? kAttributeDirectory : kAttributeArchive;
      if (!isDirectory) {
        host.resize(hostFolderLength);
        host += name;
        entry.attributes |= StoredDosAttributesAt(dir.Fd(), name, host);
        if (needs & kScanTimes) {
          if (st.st_mode == 0 && fstatat(dir.Fd(), name, &st, 0) != 0) return false;
          entry.lastWriteTime = st.st_mtim.tv_sec;
        }
      }
      index = static_cast<uint32_t>(scan.entries.size());
      scan.entries.push_back(std::move(entry));
      return true;
    };

    for (size_t m = 0; m < masks.size(); ++m) {
      if (!searched[m]) continue;
      const bool matched = exactName[m].empty() ? WildcardMatch(masks[m], name) : exactName[m] == name;
      if (matched && add()) scan.matches[m].push_back(index);
    }
    if (listSubfolders && !IsDotName(name) && describe() && isDirectory && add()) {
      scan.subfolders.push_back(index);
    }
  }
  return true;
}

}  // namespace platform
