#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/selection_rules.h"
#include "platform/civil_days.h"
#include "platform/file_attributes.h"
#include "tests/support/temp_tree.h"

namespace {

const int64_t kToday = platform::DaysFromCivil(2026, 2, 11);  // a Wednesday
const RuleClock kClock{kToday, 2};
constexpr int64_t kNoon = 12 * 3600;

int64_t DaysAgo(int days) { return (kToday - days) * 86400 + kNoon; }

// Paths relative to the tree, sorted, as the selection produced them.
std::vector<std::string> Relative(const TempTree& tree, const BackupItems& items) {
  std::vector<std::string> names;
  for (const BackupItem& item : items) {
    EXPECT_EQ(item.FileName.rfind(tree.Root(), 0), 0u) << item.FileName;
    EXPECT_EQ(item.LocalName, LocalNameOf(std::string(item.FileName)));
    names.emplace_back(item.FileName.substr(tree.Root().size()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

using Names = std::vector<std::string>;

class FolderSelection : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.doc", "b.txt", "c.bak", "d.jpg", "sub\\e.DOC", "sub\\f.bak", "sub\\g.jpg",
                             "sub\\deep\\h.txt", "sub\\deep\\i.doc.bak"}) {
      tree_.AddFile(name, DaysAgo(30));
    }
    tree_.AddFolder("empty");
    tree_.AddFolder("sub\\folder.doc");
  }

  Names Select(const CFolderEntry& entry) {
    BackupItems items;
    CollectFolder(entry, items, kClock);
    return Relative(tree_, items);
  }

  CFolderEntry Entry(const char* include, const char* exclude, bool recursive = true) {
    CFolderEntry entry;
    entry.m_strPath = tree_.Root();
    entry.m_strIncludeMasks = include;
    entry.m_strExcludeMasks = exclude;
    entry.m_bRecursive = recursive ? 1 : 0;
    return entry;
  }

  TempTree tree_;
};

TEST_F(FolderSelection, MasksAndRecursion) {
  const struct {
    const char* include;
    const char* exclude;
    bool recursive;
    Names selected;
  } cases[] = {
      {"*.doc | *.txt", "*.bak", true, {"a.doc", "b.txt", "sub\\deep\\h.txt", "sub\\e.DOC"}},
      {"*.doc | *.txt", "*.bak", false, {"a.doc", "b.txt"}},
      {"*.*", "*.bak | *.jpg", true, {"a.doc", "b.txt", "sub\\deep\\h.txt", "sub\\e.DOC"}},
      {"*.*", "e.doc", true,
       {"a.doc", "b.txt", "c.bak", "d.jpg", "sub\\deep\\h.txt", "sub\\deep\\i.doc.bak", "sub\\f.bak", "sub\\g.jpg"}},
      {"a.* | *.doc", "", false, {"a.doc", "a.doc"}},  // twice: the run drops the duplicate
      {"", "", true, {}},
      {" | ", "", true, {}},
      {"*.jpg | | *.zzz", "", false, {"d.jpg"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Select(Entry(c.include, c.exclude, c.recursive)), c.selected) << c.include << " / " << c.exclude;
  }
}

TEST_F(FolderSelection, FolderPathWithoutBackslashOrMissing) {
  CFolderEntry entry = Entry("*.jpg", "");
  entry.m_strPath.pop_back();
  EXPECT_EQ(Select(entry), (Names{"d.jpg", "sub\\g.jpg"}));
  entry.m_strPath += "\\no such folder";
  EXPECT_EQ(Select(entry), Names{});
}

TEST_F(FolderSelection, HiddenAndReadOnlyFilesAreTaken) {
  tree_.AddFile("empty\\hidden.txt", DaysAgo(1), platform::kAttributeHidden);
  tree_.AddFile("empty\\system.txt", DaysAgo(1), platform::kAttributeSystem);
  tree_.AddFile("empty\\readonly.txt", DaysAgo(1), platform::kAttributeReadOnly);
  CFolderEntry entry = Entry("*.txt", "");
  entry.m_strPath = tree_.Path("empty");
  BackupItems items;
  CollectFolder(entry, items, kClock);
  EXPECT_EQ(items.size(), 3u);
}

// Wine does not keep the temporary attribute on files, so this runs where the test can set it.
TEST_F(FolderSelection, TemporaryFilesAreLeftOut) {
#ifdef _WIN32
  GTEST_SKIP() << "Wine drops FILE_ATTRIBUTE_TEMPORARY";
#endif
  tree_.AddFile("empty\\scratch.doc", DaysAgo(1), platform::kAttributeTemporary);
  tree_.AddFile("empty\\kept.doc", DaysAgo(1));
  CFolderEntry entry = Entry("*.doc", "");
  entry.m_strPath = tree_.Path("empty");
  EXPECT_EQ(Select(entry), (Names{"empty\\kept.doc"}));

  CFileEntry file;  // a file entry takes its file whatever its attributes
  file.m_strPath = tree_.Path("empty\\scratch.doc");
  BackupItems items;
  AddFileEntry(file, items, kClock);
  EXPECT_EQ(items.size(), 1u);
}

class DateSelection : public testing::Test {
 protected:
  void SetUp() override {
    tree_.AddFile("today.txt", DaysAgo(0));
    tree_.AddFile("late-yesterday.txt", (kToday - 1) * 86400 + 86399);  // UTC days count
    tree_.AddFile("week.txt", DaysAgo(6));
    tree_.AddFile("old.txt", DaysAgo(200));
  }

  Names Select(int32_t includeRule, int32_t includeCount, int32_t excludeRule, int32_t excludeCount) {
    CFolderEntry entry;
    entry.m_strPath = tree_.Root();
    entry.m_nIncludeRule = includeRule;
    entry.m_nIncludeCount = includeCount;
    entry.m_nExcludeRule = excludeRule;
    entry.m_nExcludeCount = excludeCount;
    BackupItems items;
    CollectFolder(entry, items, kClock);
    return Relative(tree_, items);
  }

  TempTree tree_;
};

TEST_F(DateSelection, IncludeAndExcludeRules) {
  EXPECT_EQ(Select(RULE_NONE, -1, RULE_NONE, -1), (Names{"late-yesterday.txt", "old.txt", "today.txt", "week.txt"}));
  EXPECT_EQ(Select(RULE_TODAY, -1, RULE_NONE, -1), (Names{"today.txt"}));
  EXPECT_EQ(Select(RULE_NONE, -1, RULE_TODAY, -1), (Names{"late-yesterday.txt", "old.txt", "week.txt"}));
  EXPECT_EQ(Select(RULE_LAST_DAYS, 7, RULE_LAST_DAYS, 2), (Names{"week.txt"}));
  EXPECT_EQ(Select(RULE_LAST_WEEKS, 1, RULE_NONE, -1), (Names{"late-yesterday.txt", "today.txt"}));
  EXPECT_EQ(Select(9, -1, RULE_NONE, -1), Names{});
  EXPECT_EQ(Select(RULE_NONE, -1, 9, -1), (Names{"late-yesterday.txt", "old.txt", "today.txt", "week.txt"}));
}

TEST(FileEntrySelection, TakesTheFileWhenItsRuleHolds) {
  TempTree tree;
  tree.AddFile("report.doc", DaysAgo(3));
  CFileEntry entry;
  entry.m_strPath = tree.Path("report.doc");
  const struct {
    int32_t rule;
    int32_t count;
    bool taken;
  } cases[] = {{RULE_NONE, -1, true}, {RULE_TODAY, -1, false}, {RULE_LAST_DAYS, 4, true},
               {RULE_LAST_DAYS, 3, false}, {7, 1, false}};
  for (const auto& c : cases) {
    entry.m_nRule = c.rule;
    entry.m_nCount = c.count;
    BackupItems items;
    AddFileEntry(entry, items, kClock);
    ASSERT_EQ(items.size(), c.taken ? 1u : 0u) << c.rule << "/" << c.count;
    if (c.taken) {
      EXPECT_EQ(items[0].FileName, entry.m_strPath);
      EXPECT_EQ(items[0].LocalName, "report.doc");
    }
  }
}

TEST(FileEntrySelection, VanishedFilesAreNotTaken) {
  TempTree tree;
  tree.AddFile("gone.doc", DaysAgo(1));
  const std::string path = tree.Path("gone.doc");
  tree.Remove("gone.doc");

  CFileEntry file;
  file.m_strPath = path;
  BackupItems items;
  AddFileEntry(file, items, kClock);
  EXPECT_TRUE(items.empty());
}

TEST(FileEntrySelection, PatternsAreNotFiles) {
  TempTree tree;
  tree.AddFile("sub\\f.txt", DaysAgo(1));
  for (const char* pattern : {"sub\\?.txt", "sub\\*", "s?b\\f.txt"}) {
    CFileEntry file;
    file.m_strPath = tree.Path(pattern);
    BackupItems items;
    AddFileEntry(file, items, kClock);
    EXPECT_TRUE(items.empty()) << pattern;
  }
}

TEST(LocalName, LastPathComponent) {
  const struct {
    const char* path;
    const char* name;
  } cases[] = {{"C:\\Data\\report.doc", "report.doc"}, {"C:\\Data\\Sub\\", "Sub"}, {"report.doc", "report.doc"},
               {"", ""}, {"\\", "\\"}, {"C:\\", "C:"}, {"\\\\server\\share\\x.txt", "x.txt"}, {"\\a", "a"},
               {"a\\\\", ""}};
  for (const auto& c : cases) EXPECT_EQ(LocalNameOf(c.path), c.name) << c.path;
}

}  // namespace

#ifndef _WIN32
#include <unistd.h>

#include "platform/host_path.h"

namespace {

// A link back to its own folder makes the tree endless; the walk ends where paths outgrow
// what the platform's search takes, as it does on Windows.
TEST(FolderSelectionLinks, LoopOfLinksEnds) {
  TempTree tree;
  tree.AddFile("a.txt", DaysAgo(1));
  std::string host;
  ASSERT_TRUE(platform::ToHostPath(tree.Path("loop"), host));
  ASSERT_EQ(symlink(".", host.c_str()), 0);
  CFolderEntry entry;
  entry.m_strPath = tree.Root();
  BackupItems items;
  CollectFolder(entry, items, kClock);
  ASSERT_FALSE(items.empty());
  for (const BackupItem& item : items) EXPECT_LE(item.FileName.size(), 260u);
}

}  // namespace
#endif
