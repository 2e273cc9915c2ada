// A whole backup run over a stored backup list of arbitrary values, on a small real tree.
// Input: one stored value per line, "name=text" (a line without "=" is a text stored as
// "file<line>"); texts may hold TAB and CR. The values are written to the backup list key,
// read back, expanded over the tree (drive T:, the only drive there is) and handed to a
// host that records them.
// Properties: the host gets the files in ascending order without regard to case with no two
// equal, every one an existing file or folder named by its path, and weights that add up.

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <string>
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

constexpr size_t kMostValues = 16;
constexpr int64_t kToday = platform::DaysFromCivil(2024, 3, 13);  // a Wednesday
constexpr int kMonday = 2;

int64_t DaysAgo(int days) { return (kToday - days) * 86400 + 9 * 3600; }

// The tree lives for the process; its folder is drive T:, and drive Z: (the whole file
// system) is unmapped while it does, so no stored path reaches anything else.
class FuzzTree {
 public:
  FuzzTree() {
    platform::KeepTemporaryMark(true);  // as Windows keeps it, so scratch.doc is left out of folders
    m_tree.AddFile("a.doc", DaysAgo(0));
    m_tree.AddFile("b.txt", DaysAgo(3));
    m_tree.AddFile("Report.DOC", DaysAgo(40));
    m_tree.AddFile("report.doc", DaysAgo(40));  // a twin only POSIX can hold
    m_tree.AddFile("scratch.doc", DaysAgo(0), platform::kAttributeTemporary);
    m_tree.AddFile("noext", DaysAgo(8));
    m_tree.AddFile("with space.txt", DaysAgo(1));
    m_tree.AddFile("sub\\d.doc", DaysAgo(7000));
    m_tree.AddFile("sub\\e.bak", DaysAgo(2));
    m_tree.AddFile("sub\\deeper\\f.txt", DaysAgo(0));
    m_tree.AddFile("sub\\deeper\\g.DOC", DaysAgo(400));
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

// Records what the run hands over.
class RecordingHost : public BackupHost {
 public:
  void BeginClient(const std::string&, const std::string&, int32_t totalWeight) override {
    ++begun;
    weight = totalWeight;
  }
  RunResult BackupFile(const std::string& fileName, const std::string&, const std::string&, int32_t fileWeight,
                       bool) override {
    FUZZ_CHECK(begun == 1 && ended == 0);
    files.push_back(fileName);
    weights += fileWeight;
    return kRunOk;
  }
  std::string LastErrorText() override { return {}; }
  void Message(const std::string&) override {}
  void EndClient(int32_t) override { ++ended; }

  int begun = 0;
  int ended = 0;
  int32_t weight = -1;
  int64_t weights = 0;
  std::vector<std::string> files;
};

void StoreValues(const std::string& input, const std::string& key) {
  const CRegistryStore store;
  store.ClearValues(key);
  size_t start = 0;
  for (size_t line = 0; line < kMostValues && start <= input.size(); ++line) {
    const size_t end = std::min(input.find('\n', start), input.size());
    const std::string value = input.substr(start, end - start);
    start = end + 1;
    const size_t equals = value.find('=');
    if (equals == std::string::npos) {
      store.WriteString(key, "file" + std::to_string(line), value);
    } else {
      store.WriteString(key, value.substr(0, equals), value.substr(equals + 1));
    }
  }
}

// The path names an existing file or folder: a directory search for it finds it (names in
// any case, trailing dots dropped, as the platform looks them up), or, where the path is
// longer than a search takes (a file found in a folder near MAX_PATH), the file system holds
// it. Its last component holds no wildcard, so it is that one file or folder and not a
// pattern that happens to match something. (Earlier components may: "T:\a?\..\b.doc" is
// "T:\b.doc".)
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
  const std::string key = BackupListKey();
  StoreValues(std::string(reinterpret_cast<const char*>(data), size), key);

  const BackupItems items = BuildBackupList(ReadBackupList(key), RuleClock{kToday, kMonday});
  RecordingHost host;
  int32_t failed = 0;
  FUZZ_CHECK(RunSucceeded(RunBackup(items, host, ModuleString(IDS_SERVICE_CLSID), failed)));

  FUZZ_CHECK(host.begun == 1 && host.ended == 1);
  FUZZ_CHECK(host.weight == static_cast<int64_t>(host.files.size()) && host.weights == host.weight);
  for (size_t i = 0; i < host.files.size(); ++i) {
    if (i > 0) FUZZ_CHECK(platform::CompareNoCase(host.files[i - 1], host.files[i]) < 0);
    FUZZ_CHECK(Exists(host.files[i]));
  }
  return 0;
}
