#include "model/settings_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/entry_text.h"
#include "registry/registry_store.h"
#include "tests/registry/registry_fixture.h"
#include "tests/support/entries.h"
#include "tests/support/time_zone.h"

namespace {

// Entries compared by their stored texts, which hold every field.
std::vector<std::string> Texts(const BackupList& list) {
  std::vector<std::string> texts;
  for (const BackupEntry& entry : list) {
    const auto* folder = std::get_if<CFolderEntry>(&entry);
    texts.push_back(folder != nullptr ? "folder " + FormatFolderEntry(*folder)
                                      : "file " + FormatFileEntry(std::get<CFileEntry>(entry)));
  }
  return texts;
}

class SettingsStoreTest : public RegistryTest {
 protected:
  void Write(const std::string& name, const std::string& text) { CRegistryStore().WriteString(m_strPath, name, text); }
};

TEST_F(SettingsStoreTest, OnlyValuesNamedFileWithATextOfEitherFormBecomeEntries) {
  const std::string folder = FormatFolderEntry(FolderEntry("C:\\Data"));
  const std::string file = FormatFileEntry(CFileEntry{"C:\\a.doc"});
  EXPECT_FALSE(HasBackupListValues(m_strPath));
  for (const char* name : {"Destination", "fil", "xfile2"}) Write(name, file);
  EXPECT_FALSE(HasBackupListValues(m_strPath));
  const std::pair<const char*, std::string> values[] = {
      {"FILE0", folder}, {"file1", file}, {"FiLe_b", file}, {"file2", ""}, {"file3", "C:\\Cut\t1\t*.*\t-1\t"},
      {"file4", "no separators"}, {"File", file}};
  for (const auto& [name, text] : values) Write(name, text);
  EXPECT_EQ(Texts(ReadBackupList(m_strPath)),
            (std::vector<std::string>{"file " + file, "folder " + folder, "file " + file, "file " + file}));
  EXPECT_TRUE(HasBackupListValues(m_strPath));
  EXPECT_TRUE(ReadBackupList(m_strPath + "\\Missing").empty());
}

TEST_F(SettingsStoreTest, AMixedListComesBackAsSavedAndReplacesWhatTheKeyHeld) {
  ScopedTimeZone zone("UTC0");
  const Time32 may17 = LocalDate(2003, 5, 17);
  const BackupList list = {CFolderEntry{"D:\\Work\\", 0, "*.doc | *.txt", may17 - 86400, RULE_AFTER, -1, "*.bak", may17, RULE_BEFORE, -1},
                           CFileEntry{"C:\\plan.txt", RULE_BEFORE, -1, may17}, FolderEntry("C:\\Data"),
                           CFileEntry{"C:\\log.txt", RULE_LAST_DAYS, 3}};
  for (const char* name : {"file0", "file4", "file5", "Destination"}) Write(name, "left over");
  SaveBackupList(m_strPath, list);
  EXPECT_EQ(ValueNames(), (std::vector<std::string>{"file0", "file1", "file2", "file3"}));
  EXPECT_EQ(Texts(ReadBackupList(m_strPath)), Texts(list));
}

TEST_F(SettingsStoreTest, RestoreOptionsReplaceWhateverTheKeyHeld) {
  EXPECT_EQ(ReadRestoreOptions(m_strPath).destination, "");
  EXPECT_EQ(ReadRestoreOptions(m_strPath).overwrite, 0u);
  Write("Stray", "x");
  Write("Overwrite", "text where a number belongs");
  SaveRestoreOptions(m_strPath, {"D:\\Restored", 1});
  EXPECT_EQ(ValueNames(), (std::vector<std::string>{"Destination", "Overwrite"}));
  EXPECT_EQ(ReadRestoreOptions(m_strPath).destination, "D:\\Restored");
  EXPECT_EQ(ReadRestoreOptions(m_strPath).overwrite, 1u);
}

}  // namespace
