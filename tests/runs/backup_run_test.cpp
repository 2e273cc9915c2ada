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
// a prefix of "B.txt": shorter first, and never taken for the same name. (Which spelling of a
// path stays is the differential test's.)
TEST(BuildBackupList, SortsByPathIgnoringCase) {
  TempTree tree;
  for (const char* file : {"B.txt", "a_x.txt", "B", "AB.txt", "a\\z.txt", "a.txt"}) tree.AddFile(file, 1'500'000'000);
  std::vector<std::string> names;
  for (const BackupItem& item : BuildBackupList({FolderEntry(tree.Root()), CFileEntry{tree.Path("gone.txt")}})) {
    names.emplace_back(item.FileName.substr(tree.Root().size()));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "a\\z.txt", "a_x.txt", "AB.txt", "B", "B.txt"}));
}

// A refused file has the host's error text posted, and the run goes on; the host drops what
// it began only when every file was refused (the COM runs show that one). One file of three is
// refused, so counting the others instead shows.
TEST(RunBackup, PostsEachRefusalAndCountsThem) {
  BackupItems items;
  for (const char* name : {"a", "b", "c"}) items.Add("C:\\d\\", name);
  RecordingBackupHost host("C:\\d\\a");
  int32_t failed = 99;
  EXPECT_EQ(RunBackup(items, host, kServiceClsid, failed), kRunFailed);
  EXPECT_EQ(failed, 1);
  EXPECT_EQ(host.calls, (CallLog{Call("BeginClient", {"Files and folders", kServiceClsid, "3"}),
                                 "BackupFile(C:\\d\\a, a, File Backup, 1, true)", "GetLastError()",
                                 "Message(cannot read C:\\d\\a)", "BackupFile(C:\\d\\b, b, File Backup, 1, true)",
                                 "BackupFile(C:\\d\\c, c, File Backup, 1, true)", "EndClient(0)"}));
}

}  // namespace
