// The restore options page in a real container, driven as a user does: its clicks and tree
// selections, then what PersistSettings stored in the registry, and the restore run reading it.
#include <windows.h>

#include <gtest/gtest.h>

#include "bkqnfiles.h"
#include "host/control_container.h"
#include "model/settings_store.h"
#include "tests/host/recording_com_host.h"
#include "tests/server/registered_module.h"
#include "tests/support/temp_tree.h"
#include "tests/support/win32/ui_driver.h"

namespace {

constexpr int kDiskOrFolder = 1014;
constexpr int kTree = 208;
constexpr int kOriginalLocation = 210;
constexpr int kOverwrite = 215;

// The destination and the overwrite choice stored (in the program's own HKEY_CURRENT_USER);
// how SaveRestoreOptions writes them is the settings store's tests' business.
std::pair<std::string, uint32_t> StoredOptions() {
  const RestoreOptions options = ReadRestoreOptions(RestoreOptionsKey());
  return {options.destination, options.overwrite};
}

class RestorePageTest : public ModuleTest {
 protected:
  void SetUp() override {
    // What an earlier choice left.
    SaveRestoreOptions(RestoreOptionsKey(), {"Z:\\earlier\\", 7});
    ASSERT_EQ(m_container.Open(CLSID_RsQnFilesFolders, "Restore"), S_OK);
    m_hPage = m_container.PageWindow();
    ASSERT_HRESULT_SUCCEEDED(m_container.Control()->QueryInterface(IID_IBkQnAxRestore, m_pRestore.put_void()));
  }
  bool TreeShown() const { return IsWindowVisible(GetDlgItem(m_hPage, kTree)) != FALSE; }

  const std::pair<std::string, uint32_t> m_before = {"Z:\\earlier\\", 7};
  TempTree m_tree;
  CControlContainer m_container;
  HWND m_hPage = nullptr;
  ComPtr<IBkQnAxRestore> m_pRestore;
};

// A page fresh from activation always starts at the original location, whatever was stored;
// what each of the user's steps then shows and makes PersistSettings(1) store, "@" choosing a
// folder of the test's tree in the page's tree. Any other argument stores nothing. The host's OK
// stores the page's choice and the restore run then puts files there; Cancel stores nothing
// (not even the page's defaults).
TEST_F(RestorePageTest, EachChoiceIsStoredAsMadeAndOkStoresItForTheRestoreRun) {
  m_tree.AddFolder("into");  // for the page's tree to show and the user to choose
  const std::string folder = m_tree.Path("into") + "\\";
  for (const VARIANT_BOOL action : {VARIANT_BOOL{0}, VARIANT_TRUE, VARIANT_BOOL{2}}) {
    EXPECT_EQ(m_pRestore->PersistSettings(action), S_OK);
    EXPECT_EQ(StoredOptions(), m_before) << "stored for " << action;
  }
  const struct {
    std::string step;  // "disk", "original", "overwrite", or "@"
    bool treeShown;
    bool toFolder;
    uint32_t overwrite;
  } steps[] = {
      {"", false, false, 0},         {"disk", true, false, 0}, {"@", true, true, 0},
      {"original", false, false, 0}, {"disk", true, true, 0},  {"overwrite", true, true, 1},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.step);
    if (s.step == "@") {
      uitest::ChooseTreePath(m_hPage, kTree, folder);
    } else if (!s.step.empty()) {
      uitest::Click(m_hPage, s.step == "disk" ? kDiskOrFolder : s.step == "original" ? kOriginalLocation : kOverwrite);
    }
    EXPECT_EQ(TreeShown(), s.treeShown);
    ASSERT_EQ(m_pRestore->PersistSettings(1), S_OK);
    EXPECT_EQ(StoredOptions(), std::make_pair(s.toFolder ? folder : "", s.overwrite));
  }
  SaveRestoreOptions(RestoreOptionsKey(), {"Z:\\earlier\\", 7});
  uitest::Click(m_container.hwnd(), IDOK);
  EXPECT_EQ(m_container.Result(), CControlContainer::Outcome::kStored);
  CControlContainer again;
  ASSERT_EQ(again.Open(CLSID_RsQnFilesFolders, "Restore"), S_OK);
  uitest::Click(again.hwnd(), IDCANCEL);
  EXPECT_EQ(again.Result(), CControlContainer::Outcome::kCancelled);

  const ComPtr<IBkQnService> service = NewService();
  ASSERT_TRUE(service);
  CallLog log;
  const auto restorer = ComPtr<RecordingRestorer>::Adopt(new RecordingRestorer(log, {{Stored("report.doc")}}));
  EXPECT_EQ(service->Restore(restorer.get(), nullptr), S_OK);
  EXPECT_EQ(log, (CallLog{Call("Iterate", {"{8EF0498D-1F92-406D-9C2D-CD35883C6581}"}), Call("IsEnd"),
                          Call("GetObjectInfo"), Call("GetObjectOptions"),
                          Call("RestoreFile", {folder + "report.doc", "1", "-1"}), Call("Next"), Call("IsEnd")}));
}

}  // namespace
