#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/backup_run.h"
#include "tests/runs/recording_hosts.h"
#include "tests/support/entries.h"
#include "tests/support/service_clsid.h"
#include "tests/support/temp_tree.h"

namespace {

// Folding to lower case puts "\" (0x5C) and "_" (0x5F) before every letter; folding to upper
// case would put them after, and a case-sensitive order would put "AB" and "B" first. "B" is
// a prefix of "B.txt": shorter first, and never taken for the same name. Of two spellings of
// one path, the one collected first stays.
TEST(BuildBackupList, SortsByPathIgnoringCaseAndKeepsTheFirstOfEachName) {
  TempTree tree;
  for (const char* file : {"B.txt", "a_x.txt", "B", "AB.txt", "a\\z.txt", "a.txt"}) tree.AddFile(file, 1'500'000'000);
  const auto file = [&](const char* path) { return BackupEntry(CFileEntry{tree.Path(path)}); };
  const auto folder = [&](const char* path) { return BackupEntry(FolderEntry(tree.Path(path))); };
  const struct {
    BackupList entries;
    std::vector<std::string> names;
  } cases[] = {
      {{folder(""), file("gone.txt"), folder("none")}, {"a.txt", "a\\z.txt", "a_x.txt", "AB.txt", "B", "B.txt"}},
      {{file("a\\Z.TXT"), folder("a")}, {"a\\Z.TXT"}},
      {{folder("a"), file("a\\Z.TXT"), file("B"), file("A.TXT")}, {"A.TXT", "a\\z.txt", "B"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> names;
    for (const BackupItem& item : BuildBackupList(c.entries)) names.emplace_back(item.FileName.substr(tree.Root().size()));
    EXPECT_EQ(names, c.names);
  }
}

// A refused file has the host's error text posted and the run goes on; only when every file
// was refused does the host drop what it began.
TEST(RunBackup, PostsEachRefusalAndCountsThem) {
  const std::string begun = Call("BeginClient", {"Files and folders", kServiceClsid, "2"});
  const struct {
    const char* refused;  // the start of every path the host refuses
    int32_t failedFiles;
    CallLog calls;
  } cases[] = {
      {"C:\\d\\a", 1,
       {begun, "BackupFile(C:\\d\\a, a, File Backup, 1, true)", "GetLastError()", "Message(cannot read C:\\d\\a)",
        "BackupFile(C:\\d\\b, b, File Backup, 1, true)", "EndClient(0)"}},
      {"C:\\d\\", 2,
       {begun, "BackupFile(C:\\d\\a, a, File Backup, 1, true)", "GetLastError()", "Message(cannot read C:\\d\\a)",
        "BackupFile(C:\\d\\b, b, File Backup, 1, true)", "GetLastError()", "Message(cannot read C:\\d\\b)",
        "EndClient(1)"}},
  };
  for (const auto& c : cases) {
    BackupItems items;
    items.Add("C:\\d\\", "a");
    items.Add("C:\\d\\", "b");
    RecordingBackupHost host(c.refused);
    int32_t failed = 99;
    EXPECT_EQ(RunBackup(items, host, kServiceClsid, failed), kRunFailed);
    EXPECT_EQ(failed, c.failedFiles);
    EXPECT_EQ(host.calls, c.calls);
  }
}

}  // namespace
