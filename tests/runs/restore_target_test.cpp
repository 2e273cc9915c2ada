#include <gtest/gtest.h>

#include "engine/restore_target.h"
#include "tests/runs/recording_hosts.h"

namespace {

TEST(ReadObjectName, TakesOnlyAPlainTerminatedName) {
  EXPECT_EQ(ReadObjectName(OptionsNaming("a.txt", "\\..\\junk")), "a.txt");  // what follows the zero is not read
  for (const char* name : {"report.doc", "a..b", "console.txt"}) EXPECT_EQ(ReadObjectName(OptionsNaming(name)), name);
  // Every name refused here could make the host write beside or above the destination folder.
  for (const char* name :
       {"", ".", "..", ".. ", "..\\a.txt", "../a.txt", "C:a.txt", "a.txt:hidden", "CON", "nul.txt", "Lpt1 .log"}) {
    EXPECT_EQ(ReadObjectName(OptionsNaming(name)), std::nullopt) << name;
  }
  // No name after the header, or no zero byte to end it.
  for (size_t size : {0, 28, 40}) EXPECT_EQ(ReadObjectName(std::vector<uint8_t>(size, 'x')), std::nullopt) << size;
}

}  // namespace
