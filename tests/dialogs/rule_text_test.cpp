#include <gtest/gtest.h>

#include "dialogs/rule_text.h"
#include "tests/support/time_zone.h"

namespace {

struct RuleTextCase {
  int32_t kind;
  int32_t count;
  bool fileRule;
  const char* text;
};

const RuleTextCase kRuleTexts[] = {
    {RULE_NONE, -1, false, ""},
    {RULE_TODAY, -1, false, "modified today"},
    {RULE_LAST_DAYS, 3, false, "modified for last 3 days"},
    {RULE_LAST_DAYS, 1, true, "modified for last 1 days"},
    {RULE_LAST_WEEKS, 3, true, "modified for last 3 weeks"},
    {RULE_LAST_WEEKS, 0, false, "modified for last 0 week"},
    {RULE_LAST_MONTHS, 36, false, "modified for last 36 months"},
    {RULE_LAST_MONTHS, -2147483647 - 1, false, "modified for last -2147483648 month"},
    {6, 1, true, ""},
};

class RuleText : public testing::TestWithParam<RuleTextCase> {};

TEST_P(RuleText, Describes) {
  const RuleTextCase& c = GetParam();
  EXPECT_EQ(FormatRuleText(c.kind, c.count, 0, c.fileRule), c.text);
}

INSTANTIATE_TEST_SUITE_P(Kinds, RuleText, testing::ValuesIn(kRuleTexts));

TEST(RuleText, DatesReadInLocalTime) {
  for (const char* tz : {"UTC0", "EST5EDT", "JST-9"}) {
    ScopedTimeZone zone(tz);
    EXPECT_EQ(FormatRuleText(RULE_BEFORE, -1, LocalDate(2003, 3, 5), true), "modified before 05 Mar 2003") << tz;
    EXPECT_EQ(FormatRuleText(RULE_AFTER, 4, LocalDate(2019, 12, 31), false), "modified after 31 Dec 2019") << tz;
  }
}

TEST(RowTexts, FileRowsEndInNone) {
  CFileEntry file;
  EXPECT_EQ(DescribeFileRow(file).include, "Backup Allways");
  EXPECT_EQ(DescribeFileRow(file).exclude, "[none]");
  // A new file row's default text differs from a confirmed rule's in one letter.
  EXPECT_EQ(NewRowTexts(false).include, "Backup allways");
  EXPECT_EQ(NewRowTexts(false).exclude, "[none]");
  file.m_nRule = 42;
  EXPECT_EQ(DescribeFileRow(file).include, "");
  EXPECT_EQ(DescribeFileRow(file).exclude, "[none]");
}

TEST(RowTexts, FolderRowsJoinMasksAndRules) {
  CFolderEntry folder;
  folder.m_strIncludeMasks = "*.doc | *.txt";
  folder.m_nIncludeRule = RULE_LAST_WEEKS;
  folder.m_nIncludeCount = 2;
  folder.m_nExcludeRule = RULE_TODAY;
  RowTexts row = DescribeFolderRow(folder);
  EXPECT_EQ(row.include, "*.doc | *.txt modified for last 2 weeks");
  EXPECT_EQ(row.exclude, "modified today");

  folder.m_strIncludeMasks = "";
  folder.m_strExcludeMasks = "*.bak";
  row = DescribeFolderRow(folder);
  EXPECT_EQ(row.include, " modified for last 2 weeks");  // the blank stays with no masks
  EXPECT_EQ(row.exclude, "*.bak modified today");

  folder = CFolderEntry{};
  row = DescribeFolderRow(folder);
  EXPECT_EQ(row.include, "*.*");
  EXPECT_EQ(row.exclude, "");
}

}  // namespace
