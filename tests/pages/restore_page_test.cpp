// The restore options page in a real container, driven as a user does: its clicks and tree
// selections, then what PersistSettings stored in the registry, and the restore run reading it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "bkqnfiles.h"
#include "host/control_container.h"
#include "model/settings_store.h"
#include "registry/registry_store.h"
#include "tests/host/recording_com_host.h"
#include "tests/server/registered_module.h"
#include "tests/support/call_log.h"
#include "tests/support/temp_tree.h"
#include "tests/support/win32/ui_driver.h"

namespace {

constexpr int kDiskOrFolder = 1014;
constexpr int kTree = 208;
constexpr int kOriginalLocation = 210;
constexpr int kOverwrite = 215;
const std::vector<int> kControls = {kDiskOrFolder, kTree, kOriginalLocation, kOverwrite};

// What the key holds (in the program's own HKEY_CURRENT_USER): its values by name, each as
// "name=text" (a number for a DWORD).
std::vector<std::string> StoredValues() {
  const CRegistryStore store;
  const std::string key = RestoreOptionsKey();
  std::vector<std::string> values;
  for (int32_t i = 0, count = static_cast<int32_t>(store.EnumValue(key)); i < count; ++i) {
    std::string name;
    uint32_t type = 0;
    store.EnumValue(key, i, &name, &type);
    values.push_back(name + "=" + (type == REG_DWORD ? std::to_string(store.ReadDword(key, name)) : store.ReadString(key, name)));
  }
  std::sort(values.begin(), values.end());
  return values;
}

class RestorePageTest : public ModuleTest {
 protected:
  void SetUp() override {
    // What an earlier choice left, and a value nobody should keep.
    SaveRestoreOptions(RestoreOptionsKey(), {"Z:\\earlier\\", 7});
    CRegistryStore().WriteString(RestoreOptionsKey(), "Other", "x");
    ASSERT_EQ(m_container.Open(CLSID_RsQnFilesFolders, "Restore"), S_OK);
    m_hPage = m_container.PageWindow();
    ASSERT_HRESULT_SUCCEEDED(m_container.Control()->QueryInterface(IID_IBkQnAxRestore, m_pRestore.put_void()));
  }
  // The path of a folder that the tree shows, for the page to choose.
  std::string Folder(const std::string& name) {
    m_tree.AddFolder(name);
    return m_tree.Path(name) + "\\";
  }
  void Choose(const std::string& folder) { uitest::ChooseTreePath(m_hPage, kTree, folder); }
  bool TreeShown() const { return IsWindowVisible(GetDlgItem(m_hPage, kTree)) != FALSE; }

  const std::vector<std::string> m_vBefore = {"Destination=Z:\\earlier\\", "Other=x", "Overwrite=7"};
  TempTree m_tree;
  CControlContainer m_container;
  HWND m_hPage = nullptr;
  ComPtr<IBkQnAxRestore> m_pRestore;
};

// What the user does on a page fresh from activation, which always starts at the original
// location, and what PersistSettings(1) then stores (and only that value); "@" is a folder of
// the test's tree, chosen in the page's tree.
TEST_F(RestorePageTest, EachChoiceIsStoredAsMadeOnAFreshPage) {
  const std::string folder = Folder("into");
  uitest::Click(m_hPage, kOverwrite);
  for (const VARIANT_BOOL action : {VARIANT_BOOL{0}, VARIANT_TRUE, VARIANT_BOOL{2}}) {
    EXPECT_EQ(m_pRestore->PersistSettings(action), S_OK);
    EXPECT_EQ(StoredValues(), m_vBefore) << "stored for " << action;
  }
  const struct {
    std::vector<std::string> steps;  // "disk", "original", "overwrite", or "@"
    bool treeShown;
    std::vector<std::string> stored;
  } cases[] = {
      {{}, false, {"Destination=", "Overwrite=0"}},
      {{"disk", "@"}, true, {"Destination=@", "Overwrite=0"}},
      {{"disk", "@", "original"}, false, {"Destination=", "Overwrite=0"}},
      {{"disk", "@", "original", "disk"}, true, {"Destination=@", "Overwrite=0"}},
      {{"disk"}, true, {"Destination=", "Overwrite=0"}},
      {{"overwrite", "disk", "@"}, true, {"Destination=@", "Overwrite=1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.steps));
    ComPtr<IOleInPlaceObject> object;
    ASSERT_HRESULT_SUCCEEDED(m_container.Control()->QueryInterface(IID_IOleInPlaceObject, object.put_void()));
    ASSERT_EQ(object->InPlaceDeactivate(), S_OK);
    ASSERT_EQ(m_container.Activate(), S_OK);
    m_hPage = m_container.PageWindow();
    EXPECT_TRUE(uitest::IsChecked(m_hPage, kOriginalLocation) && !uitest::IsChecked(m_hPage, kDiskOrFolder) &&
                !uitest::IsChecked(m_hPage, kOverwrite) && !TreeShown())
        << uitest::DescribeControls(m_hPage, kControls);
    for (const std::string& step : c.steps) {
      if (step == "@") {
        Choose(folder);
      } else {
        uitest::Click(m_hPage, step == "disk" ? kDiskOrFolder : step == "original" ? kOriginalLocation : kOverwrite);
      }
    }
    EXPECT_EQ(TreeShown(), c.treeShown) << uitest::DescribeControls(m_hPage, kControls);
    ASSERT_EQ(m_pRestore->PersistSettings(1), S_OK);
    std::vector<std::string> stored = c.stored;
    stored[0] = Rooted(stored[0], folder);
    EXPECT_EQ(StoredValues(), stored);
  }
}

// The host's OK stores the page's choice and the restore run then puts files there; Cancel
// stores nothing (not even the page's defaults).
TEST_F(RestorePageTest, OkStoresForTheRestoreRunAndCancelDoesNot) {
  const std::string folder = Folder("out");
  uitest::Click(m_container.hwnd(), IDCANCEL);
  EXPECT_EQ(m_container.Result(), CControlContainer::Outcome::kCancelled);
  EXPECT_EQ(StoredValues(), m_vBefore);

  CControlContainer again;
  ASSERT_EQ(again.Open(CLSID_RsQnFilesFolders, "Restore"), S_OK);
  m_hPage = again.PageWindow();
  uitest::Click(m_hPage, kDiskOrFolder);
  Choose(folder);
  uitest::Click(m_hPage, kOverwrite);
  uitest::Click(again.hwnd(), IDOK);
  EXPECT_EQ(again.Result(), CControlContainer::Outcome::kStored);

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
