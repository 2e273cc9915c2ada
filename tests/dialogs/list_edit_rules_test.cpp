// How the page and its dialogs edit their lists, as qnhost does too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/list_edit_rules.h"
#include "tests/support/entries.h"

namespace {

struct MaskCase {
  const char* typed;
  bool excludeSide;
  const char* stored;  // null: refused
};

class MaskListTest : public testing::TestWithParam<MaskCase> {};

TEST_P(MaskListTest, StoresWhatThePageStores) {
  const MaskCase& c = GetParam();
  std::string error;
  const std::optional<std::string> stored = NormalizeMaskList(c.typed, c.excludeSide, error);
  if (c.stored) {
    EXPECT_EQ(stored, std::string(c.stored)) << error;
  } else {
    EXPECT_FALSE(stored) << *stored;
    EXPECT_FALSE(error.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Masks, MaskListTest,
                         testing::Values(MaskCase{"doc|*.txt", false, "*.doc | *.txt"},
                                         MaskCase{" *.DOC | *.doc |a?.x ", false, "*.DOC | a?.x"},
                                         MaskCase{"*.*", false, "*.*"}, MaskCase{"*.*", true, nullptr},
                                         MaskCase{"", true, ""}, MaskCase{"  ", false, nullptr},
                                         MaskCase{"*.doc|", true, nullptr}, MaskCase{"a:b", true, nullptr},
                                         MaskCase{"sub\\*.doc", false, nullptr},
                                         MaskCase{"<x>.doc", false, nullptr}));

// Each row as "kind path [include masks]".
std::vector<std::string> Rows(const BackupList& list) {
  std::vector<std::string> rows;
  for (const BackupEntry& entry : list) {
    const auto* folder = std::get_if<CFolderEntry>(&entry);
    rows.push_back(folder ? "folder " + folder->m_strPath + " " + folder->m_strIncludeMasks
                          : "file " + std::get<CFileEntry>(entry).m_strPath);
  }
  return rows;
}

TEST(BackupRows, OnePerPathAndKindReplacedInPlace) {
  BackupList list = {FolderEntry("C:\\Data"), CFileEntry{"C:\\a.doc"}};
  const struct {
    BackupEntry put;
    bool replaced;
  } kSteps[] = {
      {FolderEntry("c:\\DATA", "*.txt"), true},
      {CFileEntry{"C:\\A.DOC", RULE_TODAY}, true},
      {CFileEntry{"C:\\Data"}, false},
      {FolderEntry("C:\\Data\\Sub"), false},
  };
  for (const auto& step : kSteps) EXPECT_EQ(PutBackupRow(list, step.put), step.replaced) << &step - kSteps;
  EXPECT_EQ(Rows(list), (std::vector<std::string>{"folder c:\\DATA *.txt", "file C:\\A.DOC", "file C:\\Data",
                                                   "folder C:\\Data\\Sub *.*"}));
}

}  // namespace
