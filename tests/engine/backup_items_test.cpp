#include <gtest/gtest.h>

#include <string>

#include "engine/backup_item.h"
#include "platform/compare_no_case.h"

namespace {

// Paths stay intact across the storage blocks, however long, and however the list is moved.
TEST(BackupItems, KeepsEveryPathAcrossBlocks) {
  BackupItems items;
  const std::string huge(3 << 20, 'x');
  for (int i = 0; i < 200000; ++i) {
    if (i == 1000) items.Add("C:\\big\\", huge);
    items.Add("C:\\folder\\", "file" + std::to_string(i) + ".txt");
  }
  BackupItems moved = std::move(items);
  ASSERT_EQ(moved.size(), 200001u);
  EXPECT_EQ(moved[0].FileName, "C:\\folder\\file0.txt");
  EXPECT_EQ(moved[1000].FileName, "C:\\big\\" + huge);
  EXPECT_EQ(moved[1001].FileName, "C:\\folder\\file1000.txt");
  EXPECT_EQ(moved[200000].FileName, "C:\\folder\\file199999.txt");
  EXPECT_EQ(moved[200000].LocalName, "file199999.txt");
}

TEST(BackupItems, SortKeepsTheFirstOfEqualPaths) {
  BackupItems items;
  for (const char* path : {"C:\\b.txt", "C:\\A.txt", "C:\\B.TXT", "C:\\a.txt", "C:\\b.txt"}) items.Add(path);
  items.SortAndDropDuplicates([](std::string_view a, std::string_view b) { return platform::CompareNoCase(a, b) < 0; },
                              [](std::string_view a, std::string_view b) { return platform::CompareNoCase(a, b) == 0; });
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].FileName, "C:\\A.txt");
  EXPECT_EQ(items[1].FileName, "C:\\b.txt");
}

}  // namespace
