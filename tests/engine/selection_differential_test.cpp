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

// Several entries, overlapping, with single files among them. Each folder entry alone gives
// the same files, as many times each, in the reference's stable order; the run's whole list
// is the reference's with the later spellings of a path dropped.
TEST(SelectionDifferential, EntriesAndRunListEqualReference) {
  const ScopedTemporaryMark kept;
  std::mt19937 random(4242);
  for (int round = 0; round < 12; ++round) {
    RandomTree tree(random);
    for (int trial = 0; trial < 15; ++trial) {
      SCOPED_TRACE(testing::Message() << "round " << round << ", trial " << trial);
      BackupList entries;
      BackupItems expected;
      const RuleClock clock{kToday, static_cast<int>(random() % 7) + 1};
      for (int e = 1 + static_cast<int>(random() % 4); e > 0; --e) {
        if (random() % 4 == 0) {
          CFileEntry file;
          file.m_strPath = tree.tree.Path(Pick(random, tree.folders) + RandomName(random));
          AddFileEntry(file, expected, clock);
          entries.push_back(file);
          continue;
        }
        const CFolderEntry folder = RandomFolderEntry(random, tree);
        BackupItems alone, actual;
        reference::CollectFolder(folder, alone, clock);
        reference::CollectFolder(folder, expected, clock);
        alone.SortAndDropDuplicates(PathBefore, [](std::string_view, std::string_view) { return false; });
        CollectFolder(folder, actual, clock);
        ASSERT_EQ(Listed(actual), Listed(alone));
        entries.push_back(folder);
      }
      expected.SortAndDropDuplicates(PathBefore, SamePath);
      ASSERT_EQ(Listed(BuildBackupList(entries, clock)), Listed(expected));
    }
  }
}

}  // namespace
