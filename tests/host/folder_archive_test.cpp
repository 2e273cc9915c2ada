// qnhost's archive objects with the registered module on the other side: what a backup
// stores is what a restore writes back, existing files are kept unless overwriting is asked
// for, a damaged archive stops the restore through QnError, and a dry run lists what a
// backup stores.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "host/archive_backuper.h"
#include "host/archive_restorer.h"
#include "host/console_progress.h"
#include "host/object_options.h"
#include "model/join_path.h"
#include "model/settings_store.h"
#include "tests/server/registered_module.h"
#include "tests/support/temp_tree.h"

namespace {

std::string Content(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return file ? text.str() : "(missing)";
}

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

class FolderArchiveTest : public ModuleTest {
 protected:
  void SetUp() override {
    ASSERT_NE(m_pConsole, nullptr);
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_BkQnFilesSrv, nullptr, CLSCTX_INPROC_SERVER, IID_IBkQnService, m_pService.put_void()));
    m_tree.AddFile("src\\a.txt", 1700000000);
    m_tree.AddFile("src\\deeper\\b.doc", 1700000000);
    CFolderEntry folder;
    folder.m_strPath = m_tree.Path("src");
    SaveBackupList(BackupListKey(), {folder});
    m_strArchive = m_tree.Path("archive");
    m_tree.AddFolder("archive\\files");
  }

  std::vector<ArchiveObject> BackUp() {
    const auto backuper = ComPtr<ArchiveBackuper>::Adopt(new ArchiveBackuper(m_strArchive, m_bar));
    const auto progress = ComPtr<ConsoleProgress>::Adopt(new ConsoleProgress(m_bar));
    EXPECT_EQ(m_pService->Backup(backuper.get(), progress.get()), S_OK);
    return backuper->Objects();
  }

  struct Outcome {
    HRESULT result;
    int restored;
    int failed;
  };
  Outcome Restore(const std::vector<ArchiveObject>& objects, uint32_t overwrite, const char* destination = "out") {
    SaveRestoreOptions(RestoreOptionsKey(), {m_tree.Path(destination), overwrite});
    const auto restorer = ComPtr<ArchiveRestorer>::Adopt(new ArchiveRestorer(m_strArchive, objects, m_bar));
    const auto progress = ComPtr<ConsoleProgress>::Adopt(new ConsoleProgress(m_bar));
    const HRESULT result = m_pService->Restore(restorer.get(), progress.get());
    return {result, restorer->RestoredFiles(), restorer->FailedFiles()};
  }

  TempTree m_tree;
  std::string m_strArchive;
  std::FILE* m_pConsole = std::tmpfile();
  ProgressBar m_bar{m_pConsole, true};
  ComPtr<IBkQnService> m_pService;

  void TearDown() override {
    if (m_pConsole) std::fclose(m_pConsole);
  }
};

TEST_F(FolderArchiveTest, RestoresIntoAFolderKeepsWhatIsThereUnlessOverwritingStopsOnALostCopy) {
  const std::vector<ArchiveObject> objects = BackUp();
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[0].name, m_tree.Path("src\\a.txt"));
  EXPECT_EQ(objects[1].name, m_tree.Path("src\\deeper\\b.doc"));

  Outcome outcome = Restore(objects, 0);
  EXPECT_EQ(outcome.result, S_OK);
  EXPECT_EQ(outcome.restored, 2);
  EXPECT_EQ(Content(m_tree.Path("out\\a.txt")), "src\\a.txt\n");
  EXPECT_EQ(Content(m_tree.Path("out\\b.doc")), "src\\deeper\\b.doc\n");

  Write(m_tree.Path("out\\a.txt"), "changed since");
  outcome = Restore(objects, 0);
  EXPECT_EQ(outcome.result, S_OK);  // the module does not look at RestoreFile's result
  EXPECT_EQ(outcome.failed, 2);
  EXPECT_EQ(Content(m_tree.Path("out\\a.txt")), "changed since");

  outcome = Restore(objects, 1);
  EXPECT_EQ(outcome.restored, 2);
  EXPECT_EQ(Content(m_tree.Path("out\\a.txt")), "src\\a.txt\n");

  // The host raises QnError for a copy missing from the archive, which ends the restore.
  ASSERT_TRUE(DeleteFileA(JoinPath(m_strArchive, objects[0].copy).c_str()));
  outcome = Restore(objects, 0, "lost");
  EXPECT_EQ(outcome.result, E_FAIL);
  EXPECT_EQ(outcome.restored, 0);
  EXPECT_EQ(Content(m_tree.Path("lost\\b.doc")), "(missing)");
}

// The dry run makes the same module call against a host that only looks: the same files in
// the same order, with the sizes the copies got.
TEST_F(FolderArchiveTest, ADryRunListsWhatABackupStores) {
  m_tree.AddFile("src\\c.tmp", 1700000000);
  m_tree.AddFile("other\\longer name.txt", 1700000000);
  CFolderEntry folder;
  folder.m_strPath = m_tree.Path("src");
  folder.m_strExcludeMasks = "*.tmp";
  SaveBackupList(BackupListKey(), {folder, CFileEntry{m_tree.Path("other\\longer name.txt")}});
  const auto dry = ComPtr<DryRunBackuper>::Adopt(new DryRunBackuper(m_bar, true));
  const auto progress = ComPtr<ConsoleProgress>::Adopt(new ConsoleProgress(m_bar));
  EXPECT_EQ(m_pService->Backup(dry.get(), progress.get()), S_OK);

  const auto listed = [](const std::vector<ArchiveObject>& objects) {
    std::string text;
    for (const ArchiveObject& o : objects) {
      text += o.name + " " + std::to_string(ReadObjectFacts(o.options)->size) + "\n";
    }
    return text;
  };
  const std::vector<ArchiveObject> stored = BackUp();
  EXPECT_EQ(stored.size(), 3u);
  EXPECT_EQ(listed(dry->Objects()), listed(stored));
  EXPECT_EQ(dry->Bytes(), 22u + 10u + 17u);  // each file holds its relative path and a line feed
}

}  // namespace
