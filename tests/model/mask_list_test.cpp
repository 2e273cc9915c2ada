#include <gtest/gtest.h>

#include "model/mask_list.h"

namespace {

// Masks are appended to what the list held; only a bar after a mask separates.
TEST(SplitMasks, SplitsAsStored) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"*.doc | *.txt", {"*.doc", "*.txt"}},  {"*.doc|*.txt", {"*.doc", "*.txt"}},
      {"", {}},                               {"   ", {}},
      {"*.doc | | *.txt", {"*.doc", "", "*.txt"}}, {"|*.doc | *.txt", {"|*.doc | *.txt"}},
      {"a||b", {"a", "|b"}},                  {"*.doc | ", {"*.doc"}},
      {" \t*.a\t|\t*.b \t", {"*.a", "*.b"}},  {"\v\r\n*.a\f|\r*.b\v", {"*.a", "*.b"}},
  };
  for (const auto& [text, split] : cases) {
    std::vector<std::string> masks{"kept"}, expected{"kept"};
    expected.insert(expected.end(), split.begin(), split.end());
    SplitMasks(text, masks);
    EXPECT_EQ(masks, expected) << text;
  }
}

}  // namespace
