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
