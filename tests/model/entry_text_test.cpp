#include <gtest/gtest.h>

#include <climits>

#include "model/entry_text.h"
#include "model/join_path.h"
#include "tests/support/time_zone.h"

namespace {

// Stored forms as the earlier versions wrote them, dates in UTC.
const char kFileText[] = "C:\\Data\\a.doc\r4\r-1\r2003\r5\r17\r";
const char kFolderText[] = "D:\\Work\\\t0\t*.doc | *.txt\t5\t3\t2020\t1\t9\t*.bak\t2\t2\t";

TEST(EntryText, StoredFormsByteForByte) {
  ScopedTimeZone zone("UTC0");
  EXPECT_EQ(FormatFileEntry(CFileEntry{"C:\\Data\\a.doc"}), "C:\\Data\\a.doc\r-1\r-1\r");
  const Time32 may17 = LocalDate(2003, 5, 17) + 13 * 3600;  // any moment of the day
  EXPECT_EQ(FormatFileEntry(CFileEntry{"C:\\Data\\a.doc", RULE_BEFORE, -1, may17}), kFileText);
  CFolderEntry defaults;
  defaults.m_strPath = "C:\\Data";
  EXPECT_EQ(FormatFolderEntry(defaults), "C:\\Data\t1\t*.*\t-1\t-1\t\t-1\t-1\t");
  // A recursion flag other than 1 is stored as 0.
  const CFolderEntry full{"D:\\Work\\", 2, "*.doc | *.txt", LocalDate(2020, 1, 9), RULE_AFTER, 3, "*.bak", 0,
                          RULE_LAST_WEEKS, 2};
  EXPECT_EQ(FormatFolderEntry(full), kFolderText);
}

// Dates come back as their local midnight, whatever the moment of the day they were taken
// at, in summer and winter, in zones east and west of UTC; every other field as it was.
TEST(EntryText, RoundTripKeepsEveryField) {
  for (const char* tz : {"UTC0", "EST5EDT", "JST-9"}) {
    ScopedTimeZone zone(tz);
    const int dates[][3] = {{1970, 1, 2},   {2003, 3, 30}, {2003, 4, 6},  {2003, 5, 17},
                            {2003, 10, 26}, {2004, 2, 29}, {2026, 7, 1}, {2037, 12, 31}};
    for (const auto& [year, month, day] : dates) {
      SCOPED_TRACE(testing::Message() << tz << " " << year << "-" << month << "-" << day);
      const Time32 midnight = LocalDate(year, month, day);
      // Late in the day, even under daylight time.
      const CFolderEntry folder{"C:\\Data", 1, "*.doc", midnight + 22 * 3600 - 60, RULE_BEFORE, -1,
                                "~*.*", midnight + 60, RULE_AFTER, -1};
      CFolderEntry back;
      ASSERT_TRUE(ParseFolderEntry(FormatFolderEntry(folder), back));
      EXPECT_EQ(back.m_tmIncludeDate, midnight);
      EXPECT_EQ(back.m_tmExcludeDate, midnight);
      EXPECT_EQ(FormatFolderEntry(back), FormatFolderEntry(folder));

      const CFileEntry file{"C:\\a b\\c.txt", RULE_AFTER, 7, midnight + 12 * 3600};
      CFileEntry fileBack;
      ASSERT_TRUE(ParseFileEntry(FormatFileEntry(file), fileBack));
      EXPECT_EQ(fileBack.m_tmDate, midnight);
      EXPECT_EQ(FormatFileEntry(fileBack), FormatFileEntry(file));
    }
  }
}

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
  const std::string kDatedFolderText = "C:\\Data\t1\t*.*\t4\t-1\t2010\t6\t1\t\t5\t-1\t2011\t6\t1\t";
  for (const std::string& text : {std::string(kFolderText), kDatedFolderText, std::string(kFileText)}) {
    CFolderEntry folder;
    CFileEntry file;
    ASSERT_TRUE(ParseFolderEntry(text, folder) || ParseFileEntry(text, file)) << text;
    for (size_t cut = 0; cut < text.size(); ++cut) {
      EXPECT_FALSE(ParseFolderEntry(text.substr(0, cut), folder)) << cut;
      EXPECT_FALSE(ParseFileEntry(text.substr(0, cut), file)) << cut;
    }
  }
}

TEST(EntryText, DatesBeyondThirtyTwoBitsStillParse) {
  ScopedTimeZone zone("UTC0");
  const std::pair<const char*, Time32> cases[] = {
      {"C:\\a\r4\r0\r2999\r1\r1\r", INT32_MAX},
      {"C:\\a\r5\r0\r1066\r10\r14\r", INT32_MIN},
      {"C:\\a\r5\r0\r2003\r14\r40\r", LocalDate(2004, 3, 11)},  // normalised like mktime
      // Months and days that carry the date past either end of the range, from the other side.
      {"C:\\a\r5\r0\r5\r7\r2008007\r", INT32_MAX},
      {"C:\\a\r5\r0\r2500\r-9000\r1\r", INT32_MIN},
  };
  for (const auto& [text, date] : cases) {
    CFileEntry entry;
    ASSERT_TRUE(ParseFileEntry(text, entry)) << text;
    EXPECT_EQ(entry.m_tmDate, date) << text;
  }
}

TEST(JoinPath, JoinsWithExactlyOneBackslash) {
  EXPECT_EQ(JoinPath("D:\\", "report.doc"), "D:\\report.doc");
  EXPECT_EQ(JoinPath("D:\\Restore", ""), "D:\\Restore");
  EXPECT_EQ(JoinPath("", "report.doc"), "report.doc");
  EXPECT_EQ(JoinPath("a", "\\b"), "a\\\\b");  // only the left side is looked at
}

}  // namespace
