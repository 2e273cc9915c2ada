// Under Wine: the POSIX build's wildcard matcher against the real FindFirstFileA, on random
// 8.3-clean names (no generated short names to differ by) and random masks.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "platform/directory_search.h"
#include "platform/posix/wildcard_match.h"
#include "tests/support/temp_tree.h"

namespace {

std::string RandomText(std::mt19937& random, const char* alphabet, int minLength, int maxLength) {
  const size_t letters = std::char_traits<char>::length(alphabet);
  std::string text(std::uniform_int_distribution<int>(minLength, maxLength)(random), ' ');
  for (char& c : text) c = alphabet[std::uniform_int_distribution<size_t>(0, letters - 1)(random)];
  return text;
}

// What FindFirstFileA finds, through the Windows build's thin search.
std::set<std::string> PlatformMatches(const std::string& folder, const std::string& mask) {
  std::set<std::string> names;
  platform::DirectorySearch search;
  platform::FoundEntry found;
  for (bool more = search.Open(folder + mask); more && search.Next(found);) {
    if (found.name != "." && found.name != "..") names.insert(found.name);
  }
  return names;
}

TEST(WildcardReference, MatchesFindFirstFileOnRandomMasks) {
  std::mt19937 random(20261205);
  TempTree tree;
  std::set<std::string> names;
  while (names.size() < 40) {
    std::string name = RandomText(random, "abc", 1, 4);
    if (random() % 2) name += "." + RandomText(random, "abc", 1, 3);
    if (names.insert(name).second) tree.AddFile(name, 1700000000);
  }
  for (int i = 0; i < 400; ++i) {
    const std::string mask = RandomText(random, "aAbc?*.", 1, 6);
    // Masks of dots alone name the folder itself or its parent: path rules, not matching.
    if (mask.find_first_not_of('.') == std::string::npos) continue;
    std::set<std::string> expected = PlatformMatches(tree.Root(), mask);
    std::set<std::string> actual;
    for (const std::string& name : names) {
      if (platform::WildcardMatch(mask, name)) actual.insert(name);
    }
    EXPECT_EQ(actual, expected) << "mask \"" << mask << "\"";
  }
}

}  // namespace
