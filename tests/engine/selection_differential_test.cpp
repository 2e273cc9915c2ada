// The optimised selection against the straightforward reference, on random trees with random
// masks and rules: the run's list must come out exactly as collecting every entry the
// reference way and sorting stably would give it, spelling and order included.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "engine/backup_run.h"
#include "engine/selection_rules.h"
#include "platform/civil_days.h"
#include "platform/file_attributes.h"
#include "tests/engine/reference_selection.h"
#include "tests/support/temp_tree.h"
#include "tests/support/temporary_mark.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include "platform/host_path.h"
#endif

namespace {

const int64_t kToday = platform::DaysFromCivil(2026, 2, 11);

template <typename T>
const T& Pick(std::mt19937& random, const std::vector<T>& choices) {
  return choices[std::uniform_int_distribution<size_t>(0, choices.size() - 1)(random)];
}

// Names drawn from a small alphabet so that masks hit, with letter-case variants side by side
// where the file system keeps them apart.
std::string RandomName(std::mt19937& random) {
  static const std::vector<std::string> stems = {"a", "b", "ab", "Ab", "report", "REPORT", "x y", "~tmp", "d0"};
  static const std::vector<std::string> extensions = {"", ".doc", ".DOC", ".docx", ".txt", ".bak", ".tmp", ".jpg",
                                                      ".tar.gz", "_"};
  return Pick(random, stems) + std::to_string(random() % 3) + Pick(random, extensions);
}

std::vector<std::string> Listed(const BackupItems& items) {
  std::vector<std::string> paths;
  for (const BackupItem& item : items) paths.push_back(std::string(item.FileName) + "|" + std::string(item.LocalName));
  return paths;
}

// Where two lists first part: far more readable than both lists in full.
std::string FirstDifference(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
  size_t i = 0;
  while (i < actual.size() && i < expected.size() && actual[i] == expected[i]) ++i;
  if (i == actual.size() && i == expected.size()) return {};
  return "at " + std::to_string(i) + ": " + (i < actual.size() ? actual[i] : "(end)") + " where the reference has " +
         (i < expected.size() ? expected[i] : "(end)");
}

// A file whose name holds a "\": only POSIX can hold one, and it sorts among a subfolder's files.
void AddBackslashName(const TempTree& tree, const std::string& folder, const std::string& name) {
#ifndef _WIN32
  std::string host;
  ASSERT_TRUE(platform::ToHostPath(tree.Path(folder), host));
  const int fd = open((host + (host.back() == '/' ? "" : "/") + name).c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  close(fd);
#else
  (void)tree, (void)folder, (void)name;
#endif
}

struct RandomTree {
  TempTree tree;
  std::vector<std::string> folders = {""};

  explicit RandomTree(std::mt19937& random) {
    // Folder names that differ only in case are two folders where the file system allows it.
    static const std::vector<std::string> folderNames = {"d0", "D0", "d0_", "d0.x", "sub", "Sub", "d1"};
    for (int f = 0; f < 7; ++f) {
      const std::string folder = Pick(random, folders) + Pick(random, folderNames) + "\\";
      tree.AddFolder(folder);
      if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
    }
    for (int n = 0; n < 70; ++n) {
      const int64_t day = kToday - static_cast<int64_t>(random() % 90);
      const uint32_t attributes = random() % 10 == 0 ? platform::kAttributeTemporary : 0;
      tree.AddFile(Pick(random, folders) + RandomName(random), day * 86400 + static_cast<int64_t>(random() % 86400),
                   attributes);
    }
    if (random() % 3 == 0) AddBackslashName(tree, Pick(random, folders), "sub\\" + RandomName(random));
  }
};

CFolderEntry RandomFolderEntry(std::mt19937& random, const RandomTree& tree) {
  static const std::vector<std::string> maskLists = {
      "*.*", "*.doc", "*.doc | *.txt", "a*|*.jpg", "*.tmp", "", "report*.*", "REPORT0.DOC", "*", "?b*",
      "*.doc | | *.txt", "*.bak|*.tmp", "~*", "x y*", "*.gz", "ab1.txt", "*.DOC|a*", "*_"};
  static const std::vector<int32_t> rules = {RULE_NONE, RULE_NONE, RULE_TODAY, RULE_LAST_DAYS, RULE_LAST_WEEKS,
                                             RULE_LAST_MONTHS, RULE_BEFORE, RULE_AFTER, 9};
  CFolderEntry entry;
  const std::string& folder = Pick(random, tree.folders);
  entry.m_strPath = folder.empty() ? tree.tree.Root() : tree.tree.Path(folder);
  if (random() % 2) entry.m_strPath.pop_back();
  entry.m_bRecursive = random() % 3 != 0;
  entry.m_strIncludeMasks = Pick(random, maskLists);
  entry.m_strExcludeMasks = random() % 2 ? "" : Pick(random, maskLists);
  entry.m_nIncludeRule = Pick(random, rules);
  entry.m_nIncludeCount = static_cast<int32_t>(random() % 6);
  entry.m_tmIncludeDate = static_cast<Time32>((kToday - static_cast<int64_t>(random() % 90)) * 86400);
  entry.m_nExcludeRule = Pick(random, rules);
  entry.m_nExcludeCount = static_cast<int32_t>(random() % 6);
  entry.m_tmExcludeDate = static_cast<Time32>((kToday - static_cast<int64_t>(random() % 90)) * 86400);
  return entry;
}

std::string Describe(const CFolderEntry& entry) {
  return entry.m_strPath + ", include \"" + entry.m_strIncludeMasks + "\" rule " +
         std::to_string(entry.m_nIncludeRule) + ", exclude \"" + entry.m_strExcludeMasks + "\" rule " +
         std::to_string(entry.m_nExcludeRule) + ", recursive " + std::to_string(entry.m_bRecursive);
}

// One entry: the same files, as many times each, in the reference's stable order.
TEST(SelectionDifferential, OneEntryEqualsReference) {
  const ScopedTemporaryMark kept;
  std::mt19937 random(4242);
  for (int round = 0; round < 12; ++round) {
    RandomTree tree(random);
    for (int trial = 0; trial < 25; ++trial) {
      const CFolderEntry entry = RandomFolderEntry(random, tree);
      const RuleClock clock{kToday, static_cast<int>(random() % 7) + 1};
      BackupItems expected, actual;
      reference::CollectFolder(entry, expected, clock);
      expected.SortAndDropDuplicates(PathBefore, [](std::string_view, std::string_view) { return false; });
      CollectFolder(entry, actual, clock);
      ASSERT_EQ(FirstDifference(Listed(actual), Listed(expected)), "") << Describe(entry);
    }
  }
}

// Several entries, overlapping, with single files among them: the run's whole list.
TEST(SelectionDifferential, RunListEqualsReference) {
  const ScopedTemporaryMark kept;
  std::mt19937 random(977);
  for (int round = 0; round < 8; ++round) {
    RandomTree tree(random);
    for (int trial = 0; trial < 10; ++trial) {
      BackupList entries;
      BackupItems expected;
      std::string described;
      const RuleClock clock{kToday, static_cast<int>(random() % 7) + 1};
      for (int e = 1 + static_cast<int>(random() % 4); e > 0; --e) {
        if (random() % 4 == 0) {
          CFileEntry file;
          file.m_strPath = tree.tree.Path(Pick(random, tree.folders) + RandomName(random));
          AddFileEntry(file, expected, clock);
          described += "file " + file.m_strPath + "; ";
          entries.push_back(file);
        } else {
          const CFolderEntry folder = RandomFolderEntry(random, tree);
          reference::CollectFolder(folder, expected, clock);
          described += Describe(folder) + "; ";
          entries.push_back(folder);
        }
      }
      expected.SortAndDropDuplicates(PathBefore, SamePath);
      ASSERT_EQ(FirstDifference(Listed(BuildBackupList(entries, clock)), Listed(expected)), "") << described;
    }
  }
}

}  // namespace
