#include <gtest/gtest.h>

#include <climits>

#include "dialogs/rule_text.h"
#include "tests/support/time_zone.h"

namespace {

TEST(RuleText, Describes) {
  const struct {
    int32_t kind, count;
    bool fileRule;
    const char* text;
  } cases[] = {
      {RULE_NONE, -1, false, ""},
      {RULE_NONE, -1, true, "Backup Allways"},
      {RULE_TODAY, -1, false, "modified today"},
      {RULE_LAST_DAYS, 1, true, "modified for last 1 days"},
      {RULE_LAST_WEEKS, 1, false, "modified for last 1 week"},
      {RULE_LAST_WEEKS, 3, true, "modified for last 3 weeks"},
      {RULE_LAST_MONTHS, 36, false, "modified for last 36 months"},
      {RULE_LAST_MONTHS, INT32_MIN, false, "modified for last -2147483648 month"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatRuleText(c.kind, c.count, 0, c.fileRule), c.text) << c.text;
  // Dates read in local time: east of UTC the local midnight is the day before in UTC.
  ScopedTimeZone zone("JST-9");
  EXPECT_EQ(FormatRuleText(RULE_BEFORE, -1, LocalDate(2003, 3, 5), true), "modified before 05 Mar 2003");
  EXPECT_EQ(FormatRuleText(RULE_AFTER, 4, LocalDate(2019, 12, 31), false), "modified after 31 Dec 2019");
}

// A new file row's default text differs from a confirmed rule's in one letter.
TEST(RowTexts, FileRowsEndInNone) {
  EXPECT_EQ(DescribeFileRow(CFileEntry{}).include, "Backup Allways");
  EXPECT_EQ(DescribeFileRow(CFileEntry{}).exclude, "[none]");
  EXPECT_EQ(NewRowTexts(false).include, "Backup allways");
  EXPECT_EQ(NewRowTexts(false).exclude, "[none]");
}

// A rule follows the masks after a blank, which stays when there are no masks.
TEST(RowTexts, FolderRowsJoinMasksAndRules) {
  CFolderEntry folder;
  EXPECT_EQ(DescribeFolderRow(folder).include, "*.*");
  folder.m_strIncludeMasks = "";
  folder.m_nIncludeRule = RULE_LAST_WEEKS;
  folder.m_nIncludeCount = 2;
  folder.m_nExcludeRule = RULE_TODAY;
  EXPECT_EQ(DescribeFolderRow(folder).include, " modified for last 2 weeks");
  EXPECT_EQ(DescribeFolderRow(folder).exclude, "modified today");
  folder.m_strExcludeMasks = "*.bak";
  EXPECT_EQ(DescribeFolderRow(folder).exclude, "*.bak modified today");
}

}  // namespace
