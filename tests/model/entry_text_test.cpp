#include <gtest/gtest.h>

#include <climits>

#include "model/entry_text.h"
#include "model/join_path.h"
#include "platform/local_time.h"
#include "tests/support/time_zone.h"

namespace {

Time32 LocalDate(int year, int month, int day) {
  Time32 time = 0;
  EXPECT_TRUE(platform::LocalStandardMidnight({year, month, day}, time));
  return time;
}

TEST(EntryText, StoredFormsByteForByte) {
  ScopedTimeZone zone("UTC0");
  CFileEntry always;
  always.m_strPath = "C:\\Data\\a.doc";
  EXPECT_EQ(FormatFileEntry(always), "C:\\Data\\a.doc\r-1\r-1\r");

  CFileEntry before;
  before.m_strPath = "C:\\Data\\a.doc";
  before.m_nRule = RULE_BEFORE;
  before.m_tmDate = LocalDate(2003, 5, 17) + 13 * 3600;  // any moment of the day
  EXPECT_EQ(FormatFileEntry(before), "C:\\Data\\a.doc\r4\r-1\r2003\r5\r17\r");

  CFolderEntry defaults;
  defaults.m_strPath = "C:\\Data";
  EXPECT_EQ(FormatFolderEntry(defaults), "C:\\Data\t1\t*.*\t-1\t-1\t\t-1\t-1\t");

  CFolderEntry full;
  full.m_strPath = "D:\\Work\\";
  full.m_bRecursive = 0;
  full.m_strIncludeMasks = "*.doc | *.txt";
  full.m_nIncludeRule = RULE_AFTER;
  full.m_nIncludeCount = 3;
  full.m_tmIncludeDate = LocalDate(2020, 1, 9);
  full.m_strExcludeMasks = "*.bak";
  full.m_nExcludeRule = RULE_LAST_WEEKS;
  full.m_nExcludeCount = 2;
  EXPECT_EQ(FormatFolderEntry(full), "D:\\Work\\\t0\t*.doc | *.txt\t5\t3\t2020\t1\t9\t*.bak\t2\t2\t");
}

TEST(EntryText, RecursiveFlagOtherThanOneIsStoredAsZero) {
  CFolderEntry entry;
  entry.m_bRecursive = 2;
  EXPECT_EQ(FormatFolderEntry(entry).substr(0, 3), "\t0\t");
}

// Dates survive a store and a load in zones with and without daylight saving, whatever the
// moment of the day they were taken at.
class EntryTextRoundTrip : public testing::TestWithParam<const char*> {};

TEST_P(EntryTextRoundTrip, KeepsEveryField) {
  ScopedTimeZone zone(GetParam());
  const int dates[][3] = {{2003, 3, 30}, {2003, 5, 17}, {2003, 10, 26}, {2004, 2, 29}, {1999, 12, 31}, {2037, 1, 1}};
  for (const auto& d : dates) {
    CFolderEntry folder;
    folder.m_strPath = "C:\\Data";
    folder.m_strIncludeMasks = "*.doc";
    folder.m_nIncludeRule = RULE_BEFORE;
    folder.m_tmIncludeDate = LocalDate(d[0], d[1], d[2]) + 22 * 3600 - 60;  // late in the day, even under daylight time
    folder.m_strExcludeMasks = "~*.*";
    folder.m_nExcludeRule = RULE_AFTER;
    folder.m_tmExcludeDate = LocalDate(d[0], d[1], d[2]) + 60;
    const std::string text = FormatFolderEntry(folder);

    CFolderEntry back;
    ASSERT_TRUE(ParseFolderEntry(text, back)) << text;
    EXPECT_EQ(back.m_tmIncludeDate, LocalDate(d[0], d[1], d[2]));
    EXPECT_EQ(back.m_tmExcludeDate, LocalDate(d[0], d[1], d[2]));
    EXPECT_EQ(FormatFolderEntry(back), text);
    EXPECT_EQ(back.m_strIncludeMasks, "*.doc");
    EXPECT_EQ(back.m_strExcludeMasks, "~*.*");

    CFileEntry file;
    file.m_strPath = "C:\\a b\\c.txt";
    file.m_nRule = RULE_AFTER;
    file.m_nCount = 7;
    file.m_tmDate = LocalDate(d[0], d[1], d[2]) + 12 * 3600;
    CFileEntry fileBack;
    ASSERT_TRUE(ParseFileEntry(FormatFileEntry(file), fileBack));
    EXPECT_EQ(fileBack.m_strPath, file.m_strPath);
    EXPECT_EQ(fileBack.m_nCount, 7);
    EXPECT_EQ(fileBack.m_tmDate, LocalDate(d[0], d[1], d[2]));
  }
}

INSTANTIATE_TEST_SUITE_P(Zones, EntryTextRoundTrip, testing::Values("UTC0", "EST5EDT", "JST-9"));

TEST(EntryText, NumbersReadLikeAtol) {
  struct {
    const char* field;
    int32_t value;
  } cases[] = {{"42", 42},          {" \t-3", -3},  {"+7", 7},         {"12abc", 12},
               {"abc", 0},          {"", 0},        {"-", 0},          {"99999999999", INT32_MAX},
               {"-99999999999", INT32_MIN}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}};
  for (const auto& c : cases) {
    CFileEntry entry;
    ASSERT_TRUE(ParseFileEntry(std::string("p\r") + c.field + "\r0\r", entry));
    EXPECT_EQ(entry.m_nRule, c.value) << c.field;
  }
}

TEST(EntryText, RecursiveOnlyForExactlyOne) {
  for (const char* flag : {"1", "0", "01", "1 ", "", "yes"}) {
    CFolderEntry entry;
    ASSERT_TRUE(ParseFolderEntry(std::string("C:\\x\t") + flag + "\t*.*\t-1\t-1\t\t-1\t-1\t", entry));
    EXPECT_EQ(entry.m_bRecursive, std::string(flag) == "1" ? 1 : 0) << flag;
  }
}

TEST(EntryText, TextAfterTheLastFieldIsIgnored) {
  CFileEntry file;
  EXPECT_TRUE(ParseFileEntry("C:\\a\r-1\r-1\rjunk\r\r", file));
  CFolderEntry folder;
  EXPECT_TRUE(ParseFolderEntry("C:\\a\t1\t*.*\t-1\t-1\t\t-1\t-1\tjunk", folder));
}

// Every cut of a stored text before its last separator is refused by its own form; a folder
// text is never taken as a file (it holds no CR), and nothing reads past the text.
TEST(EntryText, CutTextsAreRefused) {
  ScopedTimeZone zone("UTC0");
  CFolderEntry folder;
  folder.m_strPath = "C:\\Data";
  folder.m_nIncludeRule = RULE_BEFORE;
  folder.m_tmIncludeDate = LocalDate(2010, 6, 1);
  folder.m_nExcludeRule = RULE_AFTER;
  folder.m_tmExcludeDate = LocalDate(2011, 6, 1);
  const std::string folderText = FormatFolderEntry(folder);
  CFileEntry file;
  file.m_strPath = "C:\\Data\\x";
  file.m_nRule = RULE_AFTER;
  file.m_tmDate = LocalDate(2012, 2, 29);
  const std::string fileText = FormatFileEntry(file);

  for (size_t cut = 0; cut < folderText.size(); ++cut) {
    const std::string text = folderText.substr(0, cut);
    CFolderEntry f;
    CFileEntry e;
    EXPECT_FALSE(ParseFolderEntry(text, f)) << cut;
    EXPECT_FALSE(ParseFileEntry(text, e)) << cut;
  }
  for (size_t cut = 0; cut < fileText.size(); ++cut) {
    CFileEntry e;
    EXPECT_FALSE(ParseFileEntry(fileText.substr(0, cut), e)) << cut;
  }
}

TEST(EntryText, DatesBeyondThirtyTwoBitsStillParse) {
  ScopedTimeZone zone("UTC0");
  CFileEntry entry;
  ASSERT_TRUE(ParseFileEntry("C:\\a\r4\r0\r2999\r1\r1\r", entry));
  EXPECT_EQ(entry.m_tmDate, INT32_MAX);
  ASSERT_TRUE(ParseFileEntry("C:\\a\r5\r0\r1066\r10\r14\r", entry));
  EXPECT_EQ(entry.m_tmDate, INT32_MIN);
  ASSERT_TRUE(ParseFileEntry("C:\\a\r5\r0\r2003\r14\r40\r", entry));  // normalised like mktime
  EXPECT_EQ(entry.m_tmDate, LocalDate(2004, 3, 11));
  // Months and days that carry the date past either end of the range, from the other side.
  ASSERT_TRUE(ParseFileEntry("C:\\a\r5\r0\r5\r7\r2008007\r", entry));
  EXPECT_EQ(entry.m_tmDate, INT32_MAX);
  ASSERT_TRUE(ParseFileEntry("C:\\a\r5\r0\r2500\r-9000\r1\r", entry));
  EXPECT_EQ(entry.m_tmDate, INT32_MIN);
}

TEST(JoinPath, JoinsWithExactlyOneBackslash) {
  EXPECT_EQ(JoinPath("HKEY_CURRENT_USER\\SOFTWARE", "Korvel"), "HKEY_CURRENT_USER\\SOFTWARE\\Korvel");
  EXPECT_EQ(JoinPath("D:\\", "report.doc"), "D:\\report.doc");
  EXPECT_EQ(JoinPath("D:\\Restore", ""), "D:\\Restore");
  EXPECT_EQ(JoinPath("", "report.doc"), "report.doc");
  EXPECT_EQ(JoinPath("", ""), "");
  EXPECT_EQ(JoinPath("a", "\\b"), "a\\\\b");  // only the left side is looked at
}

}  // namespace
