#include <gtest/gtest.h>

#include "engine/restore_target.h"
#include "tests/runs/recording_hosts.h"

namespace {

struct NameCase {
  const char* name;
  std::vector<uint8_t> options;
  std::optional<std::string> expected;
};

class ReadObjectNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(ReadObjectNameTest, TakesOnlyAPlainTerminatedName) { EXPECT_EQ(ReadObjectName(GetParam().options), GetParam().expected); }

// Every name refused here could make the host write beside or above the destination folder.
INSTANTIATE_TEST_SUITE_P(
    Cases, ReadObjectNameTest,
    testing::Values(NameCase{"Plain", OptionsNaming("report.doc"), "report.doc"},
                    NameCase{"BytesAfterTheZero", OptionsNaming("a.txt", "\\..\\junk"), "a.txt"},
                    NameCase{"InnerDots", OptionsNaming("a..b"), "a..b"},
                    NameCase{"LongerThanADevice", OptionsNaming("console.txt"), "console.txt"},
                    NameCase{"Empty", {}, std::nullopt},
                    NameCase{"HeaderOnly", std::vector<uint8_t>(28, 'x'), std::nullopt},
                    NameCase{"EmptyName", OptionsNaming(""), std::nullopt},
                    NameCase{"NoZeroByte", std::vector<uint8_t>(40, 'x'), std::nullopt},
                    NameCase{"Dot", OptionsNaming("."), std::nullopt},
                    NameCase{"DotDot", OptionsNaming(".."), std::nullopt},
                    NameCase{"DotDotSpace", OptionsNaming(".. "), std::nullopt},
                    NameCase{"Backslash", OptionsNaming("..\\a.txt"), std::nullopt},
                    NameCase{"Slash", OptionsNaming("../a.txt"), std::nullopt},
                    NameCase{"DriveRelative", OptionsNaming("C:a.txt"), std::nullopt},
                    NameCase{"Stream", OptionsNaming("a.txt:hidden"), std::nullopt},
                    NameCase{"Console", OptionsNaming("CON"), std::nullopt},
                    NameCase{"NulWithExtension", OptionsNaming("nul.txt"), std::nullopt},
                    NameCase{"PortSpaced", OptionsNaming("Lpt1 .log"), std::nullopt}),
    [](const testing::TestParamInfo<NameCase>& info) { return info.param.name; });

}  // namespace
