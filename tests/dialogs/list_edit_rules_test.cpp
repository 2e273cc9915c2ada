// How the page and its dialogs edit their lists, as qnhost does too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/list_edit_rules.h"
#include "tests/support/entries.h"

namespace {

TEST(MaskList, StoresWhatThePageStores) {
  const struct {
    const char* typed;
    bool excludeSide;
    const char* stored;  // null: refused
  } cases[] = {
      {"doc|*.txt", false, "*.doc | *.txt"}, {" *.DOC | *.doc |a?.x ", false, "*.DOC | a?.x"}, {"*.*", false, "*.*"},
      {"*.*", true, nullptr},                {"", true, ""},                                   {"  ", false, nullptr},
      {"*.doc|", true, nullptr},             {"a:b", true, nullptr},                           {"sub\\*.doc", false, nullptr},
  };
  for (const auto& c : cases) {
    std::string error;
    const std::optional<std::string> stored = NormalizeMaskList(c.typed, c.excludeSide, error);
    EXPECT_EQ(stored, c.stored ? std::optional<std::string>(c.stored) : std::optional<std::string>()) << c.typed;
    EXPECT_EQ(error.empty(), c.stored != nullptr) << c.typed;
  }
}

TEST(BackupRows, OnePerPathAndKindReplacedInPlace) {
  BackupList list = {FolderEntry("C:\\Data"), CFileEntry{"C:\\a.doc"}};
  const std::pair<BackupEntry, bool> steps[] = {
      {FolderEntry("c:\\DATA", "*.txt"), true},
      {CFileEntry{"C:\\A.DOC", RULE_TODAY}, true},
      {CFileEntry{"C:\\Data"}, false},
      {FolderEntry("C:\\Data\\Sub"), false},
  };
  for (const auto& [put, replaced] : steps) EXPECT_EQ(PutBackupRow(list, put), replaced);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(std::get<CFolderEntry>(list[0]).m_strIncludeMasks, "*.txt");
  EXPECT_EQ(std::get<CFileEntry>(list[1]).m_nRule, RULE_TODAY);
  EXPECT_EQ(std::get<CFileEntry>(list[2]).m_strPath, "C:\\Data");
  EXPECT_EQ(std::get<CFolderEntry>(list[3]).m_strPath, "C:\\Data\\Sub");
}

}  // namespace
