#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "model/backup_page_rules.h"
#include "platform/file_attributes.h"

namespace {

using namespace platform;

TEST(BackupPageRulesTest, RowKeysAreTheUpperCasedPaths) {
  EXPECT_EQ(RowKey("c:\\Data_az\\x.Txt"), "C:\\DATA_AZ\\X.TXT");
}

// Where a row goes among rows sorted by key: before the first row not less than it, so a
// row of an equal key is found there.
TEST(BackupPageRulesTest, RowPositionIsTheFirstRowNotBeforeTheKey) {
  const std::vector<std::string> rows = {"A", "C", "E"};
  const auto at = [&](size_t i) { return rows[i]; };
  const std::pair<const char*, size_t> cases[] = {{"", 0}, {"A", 0}, {"B", 1}, {"C", 1}, {"E", 2}, {"F", 3}};
  for (const auto& [key, position] : cases) EXPECT_EQ(RowPosition(rows.size(), at, key), position) << key;
  EXPECT_EQ(RowPosition(0, at, "A"), 0u);
}

TEST(BackupPageRulesTest, NetworkPathsAreProbedForTheirContents) {
  const std::pair<const char*, const char*> cases[] = {
      {"\\\\server\\share", "\\\\server\\share\\*"}, {"\\\\server\\share\\", "\\\\server\\share\\\\*"},
      {"\\\\server\\share\\*", "\\\\server\\share\\*"}, {"\\\\server\\share\\a", "\\\\server\\share\\a"},
      {"\\\\server\\a*", "\\\\server\\a*"}, {"\\\\", "\\\\"}, {"\\", "\\"}, {"\\Data", "\\Data"},
      {"C:\\Data", "C:\\Data"}};
  for (const auto& [path, pattern] : cases) EXPECT_EQ(ProbePattern(path), pattern) << path;
}

TEST(BackupPageRulesTest, TheTreeLeavesOutDotSystemAndTemporaryFoldersNotHiddenOnes) {
  const std::tuple<const char*, uint32_t, bool> cases[] = {
      {"Data", kAttributeDirectory, true}, {"Hidden", kAttributeDirectory | kAttributeHidden, true},
      {"a.b", kAttributeDirectory, true}, {".git", kAttributeDirectory, false},
      {"System", kAttributeDirectory | kAttributeSystem, false}, {"Temp", kAttributeDirectory | kAttributeTemporary, false},
      {"file.txt", kAttributeArchive, false}};
  for (const auto& [name, attributes, shown] : cases) EXPECT_EQ(IsTreeFolder(name, attributes), shown) << name;
}

}  // namespace
