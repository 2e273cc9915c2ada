#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/directory_search.h"
#include "tests/support/temp_tree.h"

namespace {

constexpr int64_t kSomeTime = 1700000000;

// Whether a search for `mask` in a folder holding only `name` finds that name. Under Wine the
// real FindFirstFileA answers; the POSIX search must answer the same.
bool SearchFinds(const std::string& name, const std::string& mask) {
  TempTree tree;
  tree.AddFile(name, kSomeTime);
  platform::DirectorySearch search;
  if (!search.Open(tree.Root() + mask)) return false;
  platform::FoundEntry found;
  while (search.Next(found)) {
    if (found.name == name) return true;
  }
  return false;
}

struct MaskCase {
  const char* name;
  const char* mask;
  bool matches;
};

// One table for both builds.
const MaskCase kMaskCases[] = {
    {"report.doc", "*.doc", true},        {"REPORT.DOC", "*.doc", true},        {"report.doc", "*.DOC", true},
    {"report.doc", "*.*", true},          {"README", "*.*", true},              {"README", "*", true},
    {"archive.tar.gz", "*.gz", true},     {"archive.tar.gz", "*.tar", false},   {"abc", "a?c", true},
    {"ac", "a?c", false},                 {"abcd", "a?c", false},               {"a", "?", true},
    {"report.doc", "report.doc", true},   {"report.doc", "Report.Doc", true},   {"report.doc", "report.do", false},
    {"report.doc", "rep*", true},         {"report.doc", "*port*", true},       {"report.doc", "*.tx?", false},
    {"notes.txt", "*.tx?", true},         {"notes.txt", "n*s.t*t", true},       {"notes.txt", "*.txt*", true},
    {"notes.txt", "**.txt", true},        {"aXbXc", "a*b*c", true},             {"aXbXd", "a*b*c", false},
    {"report.doc", "", false},            {"data", "*.", true},                 {"data.txt", "*.", true},
    {"noext", "*.?", false},              {"noext", "noext.*", true},           {"noext", "noext.", true},
    {"report.doc", "report.doc.", true},  {"a.b", "a?b", true},                 {".hidden", "*.*", true},
    {".hidden", "*", true},               {"x", "x?", false},                   {"x", "x??", false},
    {"abc", "a*?", false},                {"abcabd", "*abd", true},             {"aab", "*ab", true},
    {"abab.txt", "*ab.txt", true},        {"mississippi", "m*iss*ppi", true},   {"mississippi", "m*iss*pi", true},
    {"ab", "a*b*", true},                 {"doc", "*.doc", false},              {"a.doc.bak", "*.doc", false},
    {"a.txt.txt", "*.txt", true},         {"old copy.doc", "* copy.doc", true},
};

class SharedMaskTable : public testing::TestWithParam<MaskCase> {};

TEST_P(SharedMaskTable, SearchAgreesWithThePlatform) {
  const MaskCase& c = GetParam();
  EXPECT_EQ(SearchFinds(c.name, c.mask), c.matches) << "name " << c.name << ", mask \"" << c.mask << "\"";
}

INSTANTIATE_TEST_SUITE_P(Names, SharedMaskTable, testing::ValuesIn(kMaskCases));

// Windows also matches a mask against a file's generated 8.3 short name; POSIX has none.
TEST(DirectorySearch, ShortNamesMatchOnlyOnWindows) {
#ifdef _WIN32
  EXPECT_TRUE(SearchFinds("report.docx", "*.doc"));
#else
  EXPECT_FALSE(SearchFinds("report.docx", "*.doc"));
#endif
}

// A failed open leaves nothing to read; a closed search opens again.
TEST(DirectorySearch, MissingFolderAndReopen) {
  TempTree tree;
  tree.AddFile("a.txt", kSomeTime);
  platform::DirectorySearch search;
  platform::FoundEntry found;
  EXPECT_FALSE(search.Next(found)) << "never opened";
  EXPECT_FALSE(search.Open(tree.Root())) << "no name to look for";
  EXPECT_FALSE(search.Open("zq-no-such-file.zq9")) << "no folder";
  EXPECT_FALSE(search.Open(tree.Root() + "missing\\*.*"));
  EXPECT_FALSE(search.Open("Q:\\x\\*.*")) << "no such drive";
  EXPECT_FALSE(search.Next(found));
  ASSERT_TRUE(search.Open(tree.Root() + "a.txt"));
  search.Close();
  ASSERT_TRUE(search.Open(tree.Root() + "A.TXT"));
  ASSERT_TRUE(search.Next(found));
  EXPECT_EQ(found.name, "a.txt");
  EXPECT_FALSE(search.Next(found));
}

// The ANSI search refuses patterns longer than MAX_PATH characters; the POSIX search too,
// which also ends walks through loops of links.
TEST(DirectorySearch, PatternsLongerThanMaxPathFindNothing) {
  TempTree tree;
  tree.AddFile("f.txt", kSomeTime);
  const std::string folder = tree.Root();
  for (size_t length : {size_t{259}, size_t{260}, size_t{261}, size_t{262}, size_t{300}}) {
    // Repeated separators name the same file at any length.
    const std::string pattern = folder + std::string(length - folder.size() - 5, '\\') + "f.txt";
    ASSERT_EQ(pattern.size(), length);
    platform::DirectorySearch search;
    EXPECT_EQ(search.Open(pattern), length <= 260) << length;
  }
}

}  // namespace

#ifndef _WIN32
#include "platform/posix/wildcard_match.h"

namespace {

// The POSIX build's matcher (Windows searches match themselves): an empty mask, as a list with
// an empty place splits into, matches no name at all.
TEST(WildcardMatch, AnEmptyMaskMatchesNothing) {
  EXPECT_FALSE(platform::WildcardMatch("", "a"));
  EXPECT_FALSE(platform::WildcardMatch("", ""));
}

}  // namespace
#endif
