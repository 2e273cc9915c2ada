#include <gtest/gtest.h>

#include "model/mask_list.h"

namespace {

struct SplitCase {
  const char* text;
  std::vector<std::string> masks;
};

class SplitMasksTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitMasksTest, SplitsAsStored) {
  std::vector<std::string> masks{"kept"};
  SplitMasks(GetParam().text, masks);
  std::vector<std::string> expected{"kept"};
  expected.insert(expected.end(), GetParam().masks.begin(), GetParam().masks.end());
  EXPECT_EQ(masks, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitMasksTest,
    testing::Values(SplitCase{"*.doc | *.txt", {"*.doc", "*.txt"}}, SplitCase{"*.doc|*.txt", {"*.doc", "*.txt"}},
                    SplitCase{"", {}}, SplitCase{"   ", {}}, SplitCase{"*.doc", {"*.doc"}},
                    SplitCase{"*.doc | | *.txt", {"*.doc", "", "*.txt"}},
                    SplitCase{"|*.doc | *.txt", {"|*.doc | *.txt"}},
                    SplitCase{"a||b", {"a", "|b"}},
                    SplitCase{"*.doc | ", {"*.doc"}},
                    SplitCase{" \t*.a\t|\t*.b \t", {"*.a", "*.b"}},
                    SplitCase{"\v\r\n*.a\f|\r*.b\v", {"*.a", "*.b"}}));

}  // namespace
