#include <gtest/gtest.h>

#include "dialogs/mask_rules.h"
#include "model/date_rule.h"
#include "registry/registry_store.h"
#include "tests/registry/registry_fixture.h"

namespace {

TEST(MaskRules, NormalFormAndExtension) {
  EXPECT_EQ(NormalMask("txt"), "*.txt");
  EXPECT_EQ(NormalMask("a.tar.gz"), "a.tar.gz");
  EXPECT_EQ(MaskExtension("*.*"), "*");
  EXPECT_EQ(MaskExtension("a.tar.gz"), "tar.gz");
  EXPECT_EQ(MaskExtension("t?t"), "t?t");
}

TEST(MaskRules, ForbiddenCharacters) {
  for (const char* mask : {"a\\b", "a/b", "c:x", "a\"b", "<a", "a>", "a|b"}) EXPECT_TRUE(HasForbiddenMaskCharacter(mask)) << mask;
  EXPECT_FALSE(HasForbiddenMaskCharacter("*.t?t; x"));
}

TEST(MaskRules, DuplicatesIgnoreCaseAndTheSkippedRow) {
  const std::vector<std::string> rows{"*.doc", "*.Txt"};
  EXPECT_TRUE(IsDuplicateMask(rows, "*.TXT", -1));
  EXPECT_TRUE(IsDuplicateMask(rows, "*.DOC", 1));
  EXPECT_FALSE(IsDuplicateMask(rows, "*.txt", 1));
  EXPECT_FALSE(IsDuplicateMask(rows, "*.tx", -1));
}

TEST(MaskRules, JoinsWithSpacedBars) {
  EXPECT_EQ(JoinMasks({}), "");
  EXPECT_EQ(JoinMasks({"*.doc", "*.txt", "a?"}), "*.doc | *.txt | a?");
}

TEST(CountLists, ItemsAndTheItemACountSelects) {
  const std::vector<std::string> days = CountItems(RULE_LAST_DAYS);
  EXPECT_EQ(days, (std::vector<std::string>{"2", "3", "4", "5", "6", "7"}));
  EXPECT_EQ(CountItems(RULE_LAST_WEEKS).size(), 4u);
  EXPECT_EQ(CountItems(RULE_LAST_MONTHS).back(), "36");
  EXPECT_TRUE(CountItems(RULE_BEFORE).empty());
  EXPECT_EQ(CountItemIndex(days, 5), 3);
  EXPECT_EQ(CountItemIndex(days, 7), 5);
  // A stored count the list does not offer selects its first item.
  EXPECT_EQ(CountItemIndex(days, 1), 0);
  EXPECT_EQ(CountItemIndex(days, 8), 0);
}

// A classes root of the test's own, so nothing registered on the machine decides.
class MaskDescriptionTest : public RegistryTest {
 protected:
  void Register(const std::string& key, const std::string& text) { m_store.WriteString(m_strPath + "\\" + key, "", text); }
  std::string Describe(const std::string& mask) const { return MaskDescription(m_store, mask, m_strPath); }

  CRegistryStore m_store;
};

TEST_F(MaskDescriptionTest, RegisteredClassOrTheUpperCasedExtension) {
  Register(".zq1", "zq1file");
  Register("zq1file", "Zq One Document");
  Register(".zq2", "zq2file");  // a class without its own key
  Register(".zq3", "zq3file");
  Register("zq3file", std::string(1024, 'x'));  // longer than the buffer it is read into
  Register(".*", "allfile");
  Register("allfile", "Everything");

  EXPECT_EQ(Describe("*.zq1"), "Zq One Document");
  EXPECT_EQ(Describe("zq1"), "Zq One Document");
  EXPECT_EQ(Describe("*.ZQ2"), "ZQ2 File");
  EXPECT_EQ(Describe("*.zq3"), "ZQ3 File");
  EXPECT_EQ(Describe("*.doc"), "DOC File");
  EXPECT_EQ(Describe("*.t?t"), "T?T Files");
  EXPECT_EQ(Describe("a.b*"), "B* Files");
  EXPECT_EQ(Describe("*.*"), "All files");
  EXPECT_EQ(Describe("x.*"), "Everything");
}

}  // namespace
