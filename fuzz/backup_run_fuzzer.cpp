// A whole backup run over a stored backup list of arbitrary values, on a small real tree.
// Input: one stored value per line, "name=text" (a line without "=" is a text stored as
// "file<line>"); texts may hold TAB and CR. The values are written to the backup list key,
// read back, expanded over the tree (drive T:, the only drive there is) and handed to a
// host that records them.
// Properties: the host gets the files in ascending order without regard to case with no two
// equal, every one an existing file or folder named by its path, and a total weight that is
// their number.

#include <sys/stat.h>

#include <vector>

#include "engine/backup_run.h"
#include "fuzz/fuzz_check.h"
#include "model/module_strings.h"
#include "model/settings_store.h"
#include "platform/civil_days.h"
#include "platform/compare_no_case.h"
#include "platform/directory_search.h"
#include "platform/file_attributes.h"
#include "platform/host_path.h"
#include "platform/temporary_mark.h"
#include "registry/registry_store.h"
#include "tests/support/temp_tree.h"

namespace {

constexpr int64_t kToday = platform::DaysFromCivil(2024, 3, 13);  // a Wednesday

// The tree lives for the process; its folder is drive T:, and drive Z: (the whole file system) is
// unmapped while it does, so no stored path reaches anything else.
class FuzzTree {
 public:
  FuzzTree() {
    platform::KeepTemporaryMark(true);  // as Windows keeps it, so scratch.doc is left out of folders
    // Report.DOC and report.doc are twins only POSIX can hold.
    const std::pair<const char*, int> files[] = {
        {"a.doc", 0}, {"b.txt", 3}, {"Report.DOC", 40}, {"report.doc", 40}, {"noext", 8}, {"with space.txt", 1},
        {"sub\\d.doc", 7000}, {"sub\\e.bak", 2}, {"sub\\deeper\\f.txt", 0}, {"sub\\deeper\\g.DOC", 400}};
    for (const auto& [name, daysAgo] : files) m_tree.AddFile(name, (kToday - daysAgo) * 86400 + 9 * 3600);
    m_tree.AddFile("scratch.doc", kToday * 86400, platform::kAttributeTemporary);
    m_tree.AddFolder("empty");
    std::string host;
    platform::ToHostPath(m_tree.Root(), host);
    platform::MapDrive('T', host);
    platform::MapDrive('Z', "");
  }
  // Z: comes back before the tree removes itself through it.
  ~FuzzTree() { platform::MapDrive('Z', "/"); }

 private:
  TempTree m_tree;
};

// Keeps what the run hands over: the files, and the total weight it announced first.
class RecordingHost : public BackupHost {
 public:
  void BeginClient(const std::string&, const std::string&, int32_t totalWeight) override { weight = totalWeight; }
  RunResult BackupFile(const std::string& fileName, const std::string&, const std::string&, int32_t, bool) override {
    FUZZ_CHECK(weight >= 0);
    files.push_back(fileName);
    return kRunOk;
  }
  std::string LastErrorText() override { return {}; }
  void Message(const std::string&) override {}
  void EndClient(int32_t) override {}

  int64_t weight = -1;
  std::vector<std::string> files;
};

// The path names an existing file or folder: a directory search for it finds it (names in any case,
// trailing dots dropped, as the platform looks them up), or, where the path is longer than a search
// takes (a file found in a folder near MAX_PATH), the file system holds it. Its last component
// holds no wildcard, so it is that one file or folder and not a pattern that happens to match
// something. (Earlier components may: "T:\a?\..\b.doc" is "T:\b.doc".)
bool Exists(const std::string& path) {
  if (path.find_first_of("*?", path.find_last_of('\\') + 1) != std::string::npos) return false;
  platform::DirectorySearch search;
  platform::FoundEntry found;
  if (search.Open(path) && search.Next(found)) return true;
  std::string host;
  struct stat st {};
  return platform::ToHostPath(path, host) && stat(host.c_str(), &st) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static FuzzTree tree;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input = InputText(data, size), key = BackupListKey();
  const CRegistryStore store;
  store.ClearValues(key);
  size_t position = 0;
  for (size_t line = 0; line < 16 && position <= input.size(); ++line) {
    const std::string value = NextField(input, position, '\n');
    const size_t equals = value.find('=');
    if (equals == std::string::npos) {
      store.WriteString(key, "file" + std::to_string(line), value);
    } else {
      store.WriteString(key, value.substr(0, equals), value.substr(equals + 1));
    }
  }

  const BackupItems items = BuildBackupList(ReadBackupList(key), RuleClock{kToday, 2});  // weeks begin on Monday
  RecordingHost host;
  int32_t failed = 0;
  FUZZ_CHECK(RunSucceeded(RunBackup(items, host, ModuleString(IDS_SERVICE_CLSID), failed)));
  FUZZ_CHECK(host.weight == static_cast<int64_t>(host.files.size()));
  for (size_t i = 0; i < host.files.size(); ++i) {
    if (i > 0) FUZZ_CHECK(platform::CompareNoCase(host.files[i - 1], host.files[i]) < 0);
    FUZZ_CHECK(Exists(host.files[i]));
  }
  return 0;
}
