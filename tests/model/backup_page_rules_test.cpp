#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/backup_page_rules.h"
#include "platform/file_attributes.h"

namespace {

using namespace platform;

// Rows added one by one where RowPosition puts them, refused when a row has the same key.
std::vector<std::string> RowsAfterAdding(const std::vector<std::string>& paths) {
  std::vector<std::string> rows;
  for (const std::string& path : paths) {
    const std::string key = RowKey(path);
    const auto keyAt = [&rows](size_t i) { return RowKey(rows[i]); };
    const size_t at = RowPosition(rows.size(), keyAt, key);
    if (at < rows.size() && keyAt(at) == key) continue;
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), path);
  }
  return rows;
}

TEST(BackupRowsTest, OrderedByUpperCasedPathOneRowPerPath) {
  // Upper-cased, "_" (0x5F) sorts after every letter; folded to lower case it would come first.
  EXPECT_EQ(RowsAfterAdding({"C:\\Windows", "C:\\Data", "c:\\DATA", "C:\\a_b", "C:\\aXb", "C:\\Data\\Sub", "C:\\"}),
            (std::vector<std::string>{"C:\\", "C:\\aXb", "C:\\a_b", "C:\\Data", "C:\\Data\\Sub", "C:\\Windows"}));
  EXPECT_EQ(RowsAfterAdding({"b", "a", "c", "B", "a"}), (std::vector<std::string>{"a", "b", "c"}));
}

struct ProbeCase {
  const char* path;
  const char* pattern;
};

class ProbePatternTest : public testing::TestWithParam<ProbeCase> {};

TEST_P(ProbePatternTest, NetworkPathsAreSearchedForTheirContents) {
  EXPECT_EQ(ProbePattern(GetParam().path), GetParam().pattern);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ProbePatternTest,
    testing::Values(ProbeCase{"\\\\server\\share", "\\\\server\\share\\*"},
                    ProbeCase{"\\\\server\\share\\", "\\\\server\\share\\\\*"},
                    ProbeCase{"\\\\server\\share\\*", "\\\\server\\share\\*"},
                    ProbeCase{"\\\\server\\share\\a", "\\\\server\\share\\a"},
                    ProbeCase{"\\\\", "\\\\"}, ProbeCase{"\\", "\\"}, ProbeCase{"C:\\Data", "C:\\Data"},
                    ProbeCase{"\\Data", "\\Data"}));

struct FolderCase {
  const char* name;
  uint32_t attributes;
  bool shown;
};

class TreeFolderTest : public testing::TestWithParam<FolderCase> {};

TEST_P(TreeFolderTest, DotSystemAndTemporaryFoldersAreLeftOut) {
  EXPECT_EQ(IsTreeFolder(GetParam().name, GetParam().attributes), GetParam().shown) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Entries, TreeFolderTest,
    testing::Values(FolderCase{"Data", kAttributeDirectory, true},
                    FolderCase{"Hidden", kAttributeDirectory | kAttributeHidden | kAttributeReadOnly, true},
                    FolderCase{"a.b", kAttributeDirectory, true}, FolderCase{".git", kAttributeDirectory, false},
                    FolderCase{"..", kAttributeDirectory, false},
                    FolderCase{"System", kAttributeDirectory | kAttributeSystem, false},
                    FolderCase{"Temp", kAttributeDirectory | kAttributeTemporary, false},
                    FolderCase{"file.txt", kAttributeArchive, false}));

}  // namespace
