#include <gtest/gtest.h>

#include <string>

#include "engine/backup_item.h"

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

}  // namespace
