#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/file_attributes.h"
#include "platform/folder_scan.h"
#include "platform/host_path.h"
#include "platform/posix/dos_attributes.h"
#include "platform/posix/linux_dirent.h"
#include "platform/posix/search_limits.h"
#include "platform/posix/wildcard_match.h"
#include "platform/temporary_mark.h"

namespace platform {
namespace {

constexpr size_t kListingBufferSize = size_t{1} << 15;

bool HasWildcard(std::string_view mask) { return mask.find_first_of("*?") != std::string_view::npos; }

bool IsDotName(const char* name) { return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)); }

// A mask prepared once for every name of a folder.
struct PreparedMask {
  bool searched = false;
  std::string exactName;  // a plain mask that names an existing entry matches it alone
  WildcardMask wildcard;  // kept while the walk's masks stay the same
};

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

// The open folder, read with getdents64 into one buffer kept from folder to folder; details
// cost one call relative to it, made only for the entries still candidates once every mask
// has had its say. Its subfolders are opened relative to it, so the kernel never walks the
// whole path again.
class FolderScan::Source {
 public:
  ~Source() { Close(); }

  bool Open(int parentFd, const char* path, std::string host) {
    Close();
    m_hFolder = openat(parentFd, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    m_strHost = std::move(host);
    return m_hFolder >= 0;
  }
  void Close() {
    if (m_hFolder >= 0) close(m_hFolder);
    m_hFolder = -1;
  }
  int Fd() const { return m_hFolder; }
  const std::string& Host() const { return m_strHost; }  // ends in "/"
  char* Buffer() {
    if (!m_pBuffer) m_pBuffer = std::make_unique<char[]>(kListingBufferSize);
    return m_pBuffer.get();
  }
  std::vector<PreparedMask>& Masks() { return m_masks; }

 private:
  int m_hFolder = -1;
  std::string m_strHost;
  std::unique_ptr<char[]> m_pBuffer;
  std::vector<PreparedMask> m_masks;
};

FolderScan::FolderScan() = default;
FolderScan::~FolderScan() = default;

namespace {

bool ReadFolder(const std::string& folder, const std::vector<std::string>& masks, unsigned needs, FolderScan& scan) {
  FolderScan::Source& source = *scan.source;
  const int fd = source.Fd();

  // Per mask: whether the platform would search it at all, and the exact name a plain mask
  // stands for when that name exists.
  std::vector<PreparedMask>& prepared = source.Masks();
  prepared.resize(masks.size());
  for (size_t m = 0; m < masks.size(); ++m) {
    prepared[m].searched = !masks[m].empty() && folder.size() + masks[m].size() <= kLongestSearchPattern;
    prepared[m].exactName = prepared[m].searched ? ExistingExactName(fd, masks[m]) : std::string();
    if (prepared[m].wildcard.Text() != masks[m]) prepared[m].wildcard = WildcardMask(masks[m]);
  }
  const bool listSubfolders = (needs & kScanSubfolders) && folder.size() + 3 <= kLongestSearchPattern;  // "*.*"

  char* buffer = source.Buffer();
  for (;;) {
    const long size = syscall(SYS_getdents64, fd, buffer, kListingBufferSize);
    if (size <= 0) break;
    for (long offset = 0; offset < size;) {
      const auto* d = reinterpret_cast<const LinuxDirent64*>(buffer + offset);
      offset += d->d_reclen;
      const char* name = d->d_name;
      const std::string_view nameView(name);
      // A name holding a "\" cannot be named by a Windows path: it is never listed.
      if (nameView.find('\\') != std::string_view::npos) continue;
      uint32_t index = UINT32_MAX;
      int isDirectory = -1;  // unknown until asked
      auto directory = [&]() -> int {
        if (isDirectory < 0) {
          if (d->d_type == DT_DIR || d->d_type == DT_REG) {
            isDirectory = d->d_type == DT_DIR;
          } else {
            struct stat st {};
            // A dangling link or a vanished entry is no entry at all.
            isDirectory = fstatat(fd, name, &st, 0) != 0 ? 2 : S_ISDIR(st.st_mode) ? 1 : 0;
          }
        }
        return isDirectory;
      };
      auto add = [&]() -> bool {
        if (index != UINT32_MAX) return true;
        if (directory() == 2) return false;
        index = scan.AddEntry(nameView, isDirectory ? kAttributeDirectory : 0u, 0);
        return true;
      };

      for (size_t m = 0; m < masks.size(); ++m) {
        const PreparedMask& mask = prepared[m];
        if (!mask.searched) continue;
        bool matched;
        if (!mask.exactName.empty()) {
          matched = mask.exactName == nameView;
        } else {
          matched = mask.wildcard.Matches(nameView);
        }
        if (matched && add()) scan.matches[m].push_back(index);
      }
      if (listSubfolders && !IsDotName(name) && directory() == 1 && add()) scan.subfolders.push_back(index);
    }
  }
  return true;
}

}  // namespace

bool ScanFolder(const std::string& folder, const std::vector<std::string>& masks, unsigned needs, FolderScan& scan) {
  scan.Clear(masks.size());
  std::string host;
  if (!ToHostPath(folder, host)) return false;
  if (host.back() != '/') host += '/';
  if (!scan.source) scan.source = std::make_unique<FolderScan::Source>();
  if (!scan.source->Open(AT_FDCWD, host.c_str(), host)) return false;
  return ReadFolder(folder, masks, needs, scan);
}

bool ScanSubfolder(const FolderScan& parent, uint32_t index, const std::string& folder,
                   const std::vector<std::string>& masks, unsigned needs, FolderScan& scan) {
  scan.Clear(masks.size());
  if (!parent.source || parent.source->Fd() < 0) return false;
  const char* name = parent.Name(index).data();
  if (!scan.source) scan.source = std::make_unique<FolderScan::Source>();
  if (!scan.source->Open(parent.source->Fd(), name, parent.source->Host() + name + '/')) return false;
  return ReadFolder(folder, masks, needs, scan);
}

bool CompleteEntry(FolderScan& scan, uint32_t index, unsigned details) {
  if (!scan.source || scan.source->Fd() < 0) return false;
  ScannedEntry& entry = scan.entries[index];
  const int fd = scan.source->Fd();
  const char* name = scan.Name(index).data();  // NUL-terminated in the scan's names
  if (details & kEntryTime) {
    struct stat st {};
    if (fstatat(fd, name, &st, 0) != 0) return false;
    entry.lastWriteTime = st.st_mtim.tv_sec;
  }
  if ((details & kEntryAttributes) && !(entry.attributes & kAttributeDirectory)) {
    entry.attributes |= kAttributeArchive;
    // Only the temporary mark can keep a file out; where it is not kept there is nothing to read.
    if (TemporaryMarkKept()) entry.attributes |= StoredDosAttributesAt(fd, name, scan.source->Host() + name);
  }
  return true;
}

}  // namespace platform
