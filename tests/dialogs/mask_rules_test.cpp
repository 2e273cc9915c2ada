#include <gtest/gtest.h>

#include "dialogs/mask_rules.h"
#include "model/date_rule.h"
#include "registry/registry_store.h"
#include "tests/registry/registry_fixture.h"

namespace {

TEST(MaskRules, NormalFormExtensionAndForbiddenCharacters) {
  EXPECT_EQ(NormalMask("txt"), "*.txt");
  EXPECT_EQ(NormalMask("a.tar.gz"), "a.tar.gz");
  EXPECT_EQ(MaskExtension("a.tar.gz"), "tar.gz");
  EXPECT_EQ(MaskExtension("t?t"), "t?t");
  for (const char* mask : {"a\\b", "a/b", "c:x", "a\"b", "<a", "a>", "a|b"}) {
    EXPECT_TRUE(HasForbiddenMaskCharacter(mask)) << mask;
  }
  EXPECT_FALSE(HasForbiddenMaskCharacter("*.t?t; x"));
}

TEST(MaskRules, DuplicatesIgnoreCaseAndTheSkippedRow) {
  const std::vector<std::string> rows{"*.doc", "*.Txt"};
  EXPECT_TRUE(IsDuplicateMask(rows, "*.TXT", -1));
  EXPECT_TRUE(IsDuplicateMask(rows, "*.DOC", 1));
  EXPECT_FALSE(IsDuplicateMask(rows, "*.txt", 1));
  EXPECT_FALSE(IsDuplicateMask(rows, "*.tx", -1));
}

// A stored count the list does not offer selects its first item.
TEST(CountLists, ItemsAndTheItemACountSelects) {
  const std::vector<std::string> days = CountItems(RULE_LAST_DAYS);
  EXPECT_EQ(days, (std::vector<std::string>{"2", "3", "4", "5", "6", "7"}));
  EXPECT_EQ(CountItems(RULE_LAST_WEEKS).size(), 4u);
  EXPECT_EQ(CountItems(RULE_LAST_MONTHS).back(), "36");
  EXPECT_TRUE(CountItems(RULE_BEFORE).empty());
  for (const auto& [count, index] : {std::pair{5, 3}, std::pair{7, 5}, std::pair{1, 0}, std::pair{8, 0}}) {
    EXPECT_EQ(CountItemIndex(days, count), index) << count;
  }
}

// A classes root of the test's own, so nothing registered on the machine decides.
TEST_F(RegistryTest, MaskDescriptionIsTheRegisteredClassOrTheUpperCasedExtension) {
  const CRegistryStore store;
  const std::pair<const char*, std::string> keys[] = {
      {".zq1", "zq1file"}, {"zq1file", "Zq One Document"}, {".zq2", "zq2file"},  // a class without its own key
      {".zq3", "zq3file"}, {"zq3file", std::string(1024, 'x')},                 // longer than the buffer it is read into
      {".*", "allfile"},   {"allfile", "Everything"}};
  for (const auto& [key, text] : keys) store.WriteString(m_strPath + "\\" + key, "", text);
  const std::pair<const char*, const char*> masks[] = {
      {"*.zq1", "Zq One Document"}, {"zq1", "Zq One Document"}, {"*.ZQ2", "ZQ2 File"}, {"*.zq3", "ZQ3 File"},
      {"*.doc", "DOC File"},        {"*.t?t", "T?T Files"},     {"a.b*", "B* Files"},  {"*.*", "All files"},
      {"x.*", "Everything"}};
  for (const auto& [mask, text] : masks) EXPECT_EQ(MaskDescription(store, mask, m_strPath), text) << mask;
}

}  // namespace
