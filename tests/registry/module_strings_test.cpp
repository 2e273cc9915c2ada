// On Windows the texts come from the program's string table (resources/string_table.rc),
// natively from the compiled-in list: both must give every listed text exactly.
#include "model/module_strings.h"

#include <gtest/gtest.h>

namespace {

TEST(ModuleStrings, EveryListedTextComesBackExactlyAndOthersAreEmpty) {
  const std::pair<int, std::string> listed[] = {
#define BKQN_STRING(number, symbol, text) {number, text},
#include "resources/strings.inc"
#undef BKQN_STRING
  };
  for (const auto& [id, text] : listed) EXPECT_EQ(ModuleString(id), text) << id;
  EXPECT_EQ(ModuleString(IDS_NO_FILES_ERROR), "\nError: no files to back up");
  for (int id : {0, 100, 104, 65535, -1}) EXPECT_EQ(ModuleString(id), "") << id;
}

}  // namespace
