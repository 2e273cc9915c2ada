// The optimised folder selection against the straightforward reference, on random trees with
// random masks and rules: the two must select exactly the same files, as many times each.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "engine/selection_rules.h"
#include "platform/civil_days.h"
#include "platform/file_attributes.h"
#include "tests/engine/reference_selection.h"
#include "tests/support/temp_tree.h"

namespace {

const int64_t kToday = platform::DaysFromCivil(2026, 2, 11);

template <typename T>
const T& Pick(std::mt19937& random, const std::vector<T>& choices) {
  return choices[std::uniform_int_distribution<size_t>(0, choices.size() - 1)(random)];
}

// Names drawn from a small alphabet so that masks hit, with letter-case variants side by side
// where the file system keeps them apart.
std::string RandomName(std::mt19937& random) {
  static const std::vector<std::string> stems = {"a", "b", "ab", "Ab", "report", "REPORT", "x y", "~tmp"};
  static const std::vector<std::string> extensions = {"", ".doc", ".DOC", ".docx", ".txt", ".bak", ".tmp", ".jpg",
                                                      ".tar.gz"};
  return Pick(random, stems) + std::to_string(random() % 3) + Pick(random, extensions);
}

std::vector<std::string> Sorted(const BackupItems& items) {
  std::vector<std::string> paths;
  for (const BackupItem& item : items) paths.push_back(std::string(item.FileName) + "|" + std::string(item.LocalName));
  std::sort(paths.begin(), paths.end());
  return paths;
}

TEST(SelectionDifferential, OptimisedEqualsReference) {
  std::mt19937 random(4242);
  const std::vector<std::string> maskLists = {
      "*.*", "*.doc", "*.doc | *.txt", "a*|*.jpg", "*.tmp", "", "report*.*", "REPORT0.DOC", "*", "?b*", "*.doc | | *.txt",
      "*.bak|*.tmp", "~*", "x y*", "*.gz", "ab1.txt"};
  const std::vector<int32_t> rules = {RULE_NONE, RULE_NONE, RULE_TODAY, RULE_LAST_DAYS, RULE_LAST_WEEKS,
                                      RULE_LAST_MONTHS, RULE_BEFORE, RULE_AFTER, 9};

  for (int round = 0; round < 12; ++round) {
    TempTree tree;
    std::vector<std::string> folders = {""};
    for (int f = 0; f < 6; ++f) {
      const std::string folder = Pick(random, folders) + "d" + std::to_string(f) + (random() % 2 ? "x" : "") + "\\";
      tree.AddFolder(folder);
      folders.push_back(folder);
    }
    for (int n = 0; n < 60; ++n) {
      const int64_t day = kToday - static_cast<int64_t>(random() % 90);
      const uint32_t attributes = random() % 10 == 0 ? platform::kAttributeTemporary : 0;
      tree.AddFile(Pick(random, folders) + RandomName(random), day * 86400 + static_cast<int64_t>(random() % 86400),
                   attributes);
    }

    for (int trial = 0; trial < 25; ++trial) {
      CFolderEntry entry;
      entry.m_strPath = Pick(random, folders).empty() ? tree.Root() : tree.Path(Pick(random, folders));
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
      const RuleClock clock{kToday, static_cast<int>(random() % 7) + 1};

      BackupItems expected, actual;
      reference::CollectFolder(entry, expected, clock);
      CollectFolder(entry, actual, clock);
      ASSERT_EQ(Sorted(actual), Sorted(expected))
          << "path " << entry.m_strPath << ", include \"" << entry.m_strIncludeMasks << "\" rule "
          << entry.m_nIncludeRule << ", exclude \"" << entry.m_strExcludeMasks << "\" rule " << entry.m_nExcludeRule
          << ", recursive " << int(entry.m_bRecursive);
    }
  }
}

}  // namespace
