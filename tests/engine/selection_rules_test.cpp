#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/selection_rules.h"
#include "platform/civil_days.h"
#include "platform/file_attributes.h"
#include "tests/support/entries.h"
#include "tests/support/temp_tree.h"
#include "tests/support/temporary_mark.h"

namespace {

const int64_t kToday = platform::DaysFromCivil(2026, 2, 11);  // a Wednesday
const RuleClock kClock{kToday, 2};

int64_t DaysAgo(int days) { return (kToday - days) * 86400 + 12 * 3600; }

using Names = std::vector<std::string>;

// Paths relative to the tree, sorted, as the selection produced them.
Names Select(const TempTree& tree, const CFolderEntry& entry) {
  BackupItems items;
  CollectFolder(entry, items, kClock);
  Names names;
  for (const BackupItem& item : items) names.emplace_back(item.FileName.substr(tree.Root().size()));
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FolderSelection, MasksAndRecursion) {
  TempTree tree;
  for (const char* name : {"a.doc", "b.txt", "c.bak", "d.jpg", "sub\\e.DOC", "sub\\f.bak", "sub\\g.jpg",
                           "sub\\deep\\h.txt", "sub\\deep\\i.doc.bak"}) {
    tree.AddFile(name, DaysAgo(30));
  }
  tree.AddFolder("empty");
  tree.AddFolder("sub\\folder.doc");
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
      // Trailing dots and blanks of a mask are no part of what a name must end in.
      {"*.jpg. | b.txt..", "*.doc . ", false, {"b.txt", "d.jpg"}},
      {"?.doc | b.t?t", "", false, {"a.doc", "b.txt"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Select(tree, FolderEntry(tree.Root(), c.include, c.exclude, c.recursive)), c.selected)
        << c.include << " / " << c.exclude;
  }
  // A blank after a mask's last star is part of what a name must end in.
  tree.AddFile("old copy.jpg", DaysAgo(30));
  EXPECT_EQ(Select(tree, FolderEntry(tree.Root(), "* copy.jpg", "", false)), Names{"old copy.jpg"});
}

// Hidden, system and read-only files are taken; temporary ones are not, unless a file entry
// names them. Wine does not keep the temporary attribute, so that half runs natively only.
TEST(FolderSelection, OnlyTemporaryFilesAreLeftOut) {
  const ScopedTemporaryMark kept;
  TempTree tree;
  tree.AddFile("hidden.doc", DaysAgo(1), platform::kAttributeHidden);
  tree.AddFile("system.doc", DaysAgo(1), platform::kAttributeSystem);
  tree.AddFile("readonly.doc", DaysAgo(1), platform::kAttributeReadOnly);
#ifndef _WIN32
  tree.AddFile("scratch.doc", DaysAgo(1), platform::kAttributeTemporary);
  CFileEntry file;
  file.m_strPath = tree.Path("scratch.doc");
  BackupItems items;
  AddFileEntry(file, items, kClock);
  EXPECT_EQ(items.size(), 1u);
#endif
  EXPECT_EQ(Select(tree, FolderEntry(tree.Root(), "*.doc", "")), (Names{"hidden.doc", "readonly.doc", "system.doc"}));
}

// The include rule must hold and the exclude rule must not, on the file's UTC day.
TEST(FolderSelection, DateRules) {
  TempTree tree;
  tree.AddFile("today.txt", DaysAgo(0));
  tree.AddFile("late-yesterday.txt", (kToday - 1) * 86400 + 86399);
  tree.AddFile("week.txt", DaysAgo(6));
  tree.AddFile("old.txt", DaysAgo(200));
  const Names all = {"late-yesterday.txt", "old.txt", "today.txt", "week.txt"};
  const struct {
    int32_t includeRule, includeCount, excludeRule, excludeCount;
    Names selected;
  } cases[] = {
      {RULE_NONE, -1, RULE_NONE, -1, all},
      {RULE_TODAY, -1, RULE_NONE, -1, {"today.txt"}},
      {RULE_NONE, -1, RULE_TODAY, -1, {"late-yesterday.txt", "old.txt", "week.txt"}},
      {RULE_LAST_DAYS, 7, RULE_LAST_DAYS, 2, {"week.txt"}},
      {RULE_LAST_WEEKS, 1, RULE_NONE, -1, {"late-yesterday.txt", "today.txt"}},
      {9, -1, RULE_NONE, -1, {}},
      {RULE_NONE, -1, 9, -1, all},
  };
  for (const auto& c : cases) {
    CFolderEntry entry = FolderEntry(tree.Root(), "*.*", "");
    entry.m_nIncludeRule = c.includeRule;
    entry.m_nIncludeCount = c.includeCount;
    entry.m_nExcludeRule = c.excludeRule;
    entry.m_nExcludeCount = c.excludeCount;
    EXPECT_EQ(Select(tree, entry), c.selected) << c.includeRule << "/" << c.excludeRule;
  }
}

// A file entry takes its one file when the rule holds; a wildcard in the path is no file.
TEST(FileEntrySelection, TakesTheNamedFileWhenItsRuleHolds) {
  TempTree tree;
  tree.AddFile("sub\\report.doc", DaysAgo(3));
  const struct {
    const char* path;
    int32_t rule, count;
    bool taken;
  } cases[] = {{"sub\\report.doc", RULE_NONE, -1, true},      {"sub\\report.doc", RULE_LAST_DAYS, 4, true},
               {"sub\\report.doc", RULE_LAST_DAYS, 3, false}, {"sub\\?eport.doc", RULE_NONE, -1, false},
               {"s?b\\report.doc", RULE_NONE, -1, false}};
  for (const auto& c : cases) {
    CFileEntry entry;
    entry.m_strPath = tree.Path(c.path);
    entry.m_nRule = c.rule;
    entry.m_nCount = c.count;
    BackupItems items;
    AddFileEntry(entry, items, kClock);
    ASSERT_EQ(items.size(), c.taken ? 1u : 0u) << c.path << " " << c.count;
    if (c.taken) {
      EXPECT_EQ(items[0].FileName, entry.m_strPath);
    }
  }
}

TEST(LocalName, LastPathComponent) {
  const struct {
    const char* path;
    const char* name;
  } cases[] = {{"C:\\Data\\report.doc", "report.doc"}, {"C:\\Data\\Sub\\", "Sub"}, {"report.doc", "report.doc"},
               {"", ""}, {"\\", "\\"}, {"C:\\", "C:"}, {"\\\\server\\share\\x.txt", "x.txt"}, {"\\a", "a"},
               {"a\\\\", ""}};
  for (const auto& c : cases) EXPECT_EQ(LocalNameView(c.path), c.name) << c.path;
}

}  // namespace

#ifndef _WIN32
#include <unistd.h>

#include <cstdio>

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
  BackupItems items;
  CollectFolder(FolderEntry(tree.Root(), "*.*", ""), items, kClock);
  ASSERT_FALSE(items.empty());
  // Every file came from a folder whose "*.*" search the platform still takes.
  for (const BackupItem& item : items) EXPECT_LE(item.FileName.size() - item.LocalName.size() + 3, 260u);
}

// A link to a folder is walked as that folder; a dangling link is no entry at all.
TEST(FolderSelectionLinks, ALinkIsWhatItNames) {
  TempTree tree;
  tree.AddFile("real\\a.txt", DaysAgo(1));
  std::string host;
  ASSERT_TRUE(platform::ToHostPath(tree.Root(), host));
  ASSERT_EQ(symlink("real", (host + "/linked").c_str()), 0);
  ASSERT_EQ(symlink("nowhere", (host + "/dangling").c_str()), 0);
  EXPECT_EQ(Select(tree, FolderEntry(tree.Root(), "*.*", "")), (Names{"linked\\a.txt", "real\\a.txt"}));
}

// A name holding a "\" cannot be handed over as a Windows path: it is left out, and so is
// the file that path would name by mistake.
TEST(FolderSelectionLinks, NameWithBackslashIsNeverListed) {
  TempTree tree;
  tree.AddFile("c.doc", DaysAgo(1));
  std::string host;
  ASSERT_TRUE(platform::ToHostPath(tree.Root(), host));
  std::FILE* file = std::fopen((host + "/sub\\b.doc").c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  EXPECT_EQ(Select(tree, FolderEntry(tree.Root(), "*.doc", "")), Names{"c.doc"});
}

// Where the file system keeps letter-case twins, a plain mask naming one exactly (trailing
// dots and blanks aside) takes that one alone, as the platform's lookup does.
TEST(FolderSelectionTwins, AnExactPlainNameTakesItsTwinAlone) {
  TempTree tree;
  tree.AddFile("Report.DOC", DaysAgo(1));
  tree.AddFile("report.doc", DaysAgo(1));
  EXPECT_EQ(Select(tree, FolderEntry(tree.Root(), "report.doc. ", "")), Names{"report.doc"});
  EXPECT_EQ(Select(tree, FolderEntry(tree.Root(), "REPORT.doc", "")), (Names{"Report.DOC", "report.doc"}));
}

}  // namespace
#endif
