#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/backup_run.h"
#include "tests/runs/recording_hosts.h"
#include "tests/support/service_clsid.h"
#include "tests/support/temp_tree.h"

namespace {

constexpr int64_t kWritten = 1'500'000'000;  // any day: the entries here have no date rule

// An entry of a case, its path relative to the case's tree: a file, or a folder with its
// recursion flag and include masks.
struct EntryRow {
  bool folder;
  std::string path;
  uint8_t recursive = 1;
  std::string includeMasks = "*.*";
};
EntryRow Folder(std::string path, uint8_t recursive = 1, std::string masks = "*.*") {
  return {true, std::move(path), recursive, std::move(masks)};
}
EntryRow File(std::string path) { return {false, std::move(path)}; }

struct ListCase {
  const char* name;
  std::vector<std::string> files;
  std::vector<EntryRow> entries;
  std::vector<std::string> expected;  // FileName of each item, relative, in order
};

class BuildBackupListTest : public testing::TestWithParam<ListCase> {};

TEST_P(BuildBackupListTest, SortsByPathIgnoringCaseAndKeepsTheFirstOfEachName) {
  TempTree tree;
  for (const std::string& file : GetParam().files) tree.AddFile(file, kWritten);

  BackupList list;
  for (const EntryRow& row : GetParam().entries) {
    CFolderEntry folder;
    folder.m_strPath = tree.Path(row.path);
    folder.m_bRecursive = row.recursive;
    folder.m_strIncludeMasks = row.includeMasks;
    list.push_back(row.folder ? BackupEntry(folder) : BackupEntry(CFileEntry{folder.m_strPath}));
  }
  const BackupItems items = BuildBackupList(list);

  std::vector<std::string> names;
  for (const BackupItem& item : items) {
    ASSERT_EQ(item.FileName.compare(0, tree.Root().size(), tree.Root()), 0) << item.FileName;
    names.emplace_back(item.FileName.substr(tree.Root().size()));
    EXPECT_EQ(item.LocalName, item.FileName.substr(item.FileName.rfind('\\') + 1));
  }
  EXPECT_EQ(names, GetParam().expected);
}

// Folding to lower case puts "\" (0x5C) and "_" (0x5F) before every letter; folding to upper
// case would put them after, and a case-sensitive order would put "AB" and "B" first. "B" is
// a prefix of "B.txt": shorter first, and never taken for the same name.
const std::vector<std::string> kOrderFiles = {"B.txt", "a_x.txt", "B", "AB.txt", "a\\z.txt", "a.txt"};
const std::vector<std::string> kOrdered = {"a.txt", "a\\z.txt", "a_x.txt", "AB.txt", "B", "B.txt"};

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildBackupListTest,
    testing::Values(
        ListCase{"OneFolder", kOrderFiles, {Folder("")}, kOrdered},
        ListCase{"FilesReversed", kOrderFiles,
                 {File("B.txt"), File("B"), File("AB.txt"), File("a_x.txt"), File("a\\z.txt"), File("a.txt")}, kOrdered},
        ListCase{"FolderAfterFiles", kOrderFiles, {File("B.txt"), Folder("a"), File("a.txt"), File("AB.txt"),
                                                   File("a_x.txt"), File("B")}, kOrdered},
        // Two spellings of one path: the one collected first stays.
        ListCase{"SpellingsFileFirst", {"sub\\x.txt"}, {File("sub\\X.TXT"), Folder("sub")}, {"sub\\X.TXT"}},
        ListCase{"SpellingsFolderFirst", {"sub\\x.txt"}, {Folder("sub"), File("sub\\X.TXT")}, {"sub\\x.txt"}},
        ListCase{"MissingAndEmpty", {"x.txt"}, {File("gone.txt"), Folder("none")}, {}}),
    [](const testing::TestParamInfo<ListCase>& info) { return info.param.name; });

struct RunCase {
  const char* name;
  std::vector<std::string> files;
  std::set<std::string> failing;
  std::vector<std::string> calls;  // after BeginClient
  RunResult result;
  int32_t failedFiles;
};

class RunBackupTest : public testing::TestWithParam<RunCase> {};

TEST_P(RunBackupTest, TalksToTheHostInOrder) {
  BackupItems items;
  for (const std::string& file : GetParam().files) items.Add("C:\\d\\", file);
  RecordingBackupHost host(GetParam().failing);
  int32_t failed = 99;

  EXPECT_EQ(RunBackup(items, host, kServiceClsid, failed), GetParam().result);

  std::vector<std::string> expected = {"BeginClient(Files and folders, " + kServiceClsid + ", " +
                                       std::to_string(items.size()) + ")"};
  expected.insert(expected.end(), GetParam().calls.begin(), GetParam().calls.end());
  EXPECT_EQ(host.calls, expected);
  EXPECT_EQ(failed, GetParam().failedFiles);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunBackupTest,
    testing::Values(
        RunCase{"OneOfTwoFails", {"a", "b"}, {"C:\\d\\a"},
                {"BackupFile(C:\\d\\a, a, File Backup, 1, true)", "GetLastError()", "Message(cannot read C:\\d\\a)",
                 "BackupFile(C:\\d\\b, b, File Backup, 1, true)", "EndClient(0)"},
                kRunFailed, 1},
        RunCase{"AllFail", {"a"}, {"C:\\d\\a"},
                {"BackupFile(C:\\d\\a, a, File Backup, 1, true)", "GetLastError()", "Message(cannot read C:\\d\\a)",
                 "EndClient(1)"},
                kRunFailed, 1}),
    [](const testing::TestParamInfo<RunCase>& info) { return info.param.name; });

}  // namespace
