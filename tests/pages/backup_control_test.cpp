// The backup selection page in a real container, driven as a user does (drops, right clicks
// and their menus, keys, buttons, the properties dialogs), checked through the list's own rows
// and what PersistSettings stored, and at the end through the backup run reading it.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "backup_page/file_drop_source.h"
#include "bkqnfiles.h"
#include "host/control_container.h"
#include "model/entry_text.h"
#include "model/settings_store.h"
#include "registry/registry_store.h"
#include "tests/host/recording_com_host.h"
#include "tests/server/registered_module.h"
#include "tests/support/call_log.h"
#include "tests/support/entries.h"
#include "tests/support/service_clsid.h"
#include "tests/support/temp_tree.h"
#include "tests/support/win32/ui_driver.h"

namespace {

constexpr int kTree = 201;
constexpr int kList = 206;
constexpr int kPropertiesButton = 222;
constexpr int kRemoveButton = 223;
const char kFolderDialog[] = "Backup Folder Properties";
const char kFileDialog[] = "Backup File Properties";
using Values = std::vector<std::pair<std::string, std::string>>;
using Texts = std::vector<std::string>;

// The backup list's values as the test found them, put back afterwards; the key goes again
// when there was none.
class KeptBackupList {
 public:
  KeptBackupList() : m_bExisted(static_cast<bool>(CRegistryStore().OpenKey(BackupListKey()))), m_values(Read()) {}
  ~KeptBackupList() {
    const CRegistryStore store;
    store.ClearValues(BackupListKey());
    for (const auto& [name, text] : m_values) store.WriteString(BackupListKey(), name, text);
    if (!m_bExisted) RegDeleteKeyA(HKEY_CURRENT_USER, BackupListKey().substr(sizeof "HKEY_CURRENT_USER").c_str());
  }
  // Every value of the key, in the store's order.
  static Values Read() {
    const CRegistryStore store;
    Values values;
    for (int32_t i = 0, count = static_cast<int32_t>(store.EnumValue(BackupListKey())); i < count; ++i) {
      std::string name;
      store.EnumValue(BackupListKey(), i, &name);
      values.emplace_back(name, store.ReadString(BackupListKey(), name));
    }
    return values;
  }

 private:
  bool m_bExisted;
  Values m_values;
};

CFileEntry File(const std::string& path, int32_t rule = RULE_NONE, int32_t count = -1) { return {path, rule, count, 0}; }

// The page's list takes drops, which needs OLE on the thread; for as long as the page lives.
class OleThread {
 public:
  OleThread() { OleInitialize(nullptr); }
  ~OleThread() { OleUninitialize(); }
  OleThread(const OleThread&) = delete;
  OleThread& operator=(const OleThread&) = delete;
};

// The test's tree (a folder of its own on C:, so the page's tree shows it):
//   Docs\report.doc  Docs\old.tmp  Docs\sub\notes.txt  Music\  a.txt  b.txt  c.txt
class BackupPageTest : public ModuleTest {
 protected:
  void SetUp() override {
    for (const char* file : {"Docs\\report.doc", "Docs\\old.tmp", "Docs\\sub\\notes.txt", "a.txt", "b.txt", "c.txt"}) {
      m_tree.AddFile(file, 1700000000);
    }
    m_tree.AddFolder("Music");
    CRegistryStore().ClearValues(BackupListKey());
    Open(m_container);
  }
  void Open(CControlContainer& container) {
    ASSERT_EQ(container.Open(CLSID_BkQnFilesFolders, "Backup"), S_OK);
    m_hPage = container.PageWindow();
    ASSERT_HRESULT_SUCCEEDED(container.Control()->QueryInterface(IID_IBkQnAxBackup, m_pBackup.put_void()));
  }
  std::string At(const std::string& relative) const { return m_tree.Path(relative); }
  void Store(const Values& values) const {
    for (const auto& [name, text] : values) CRegistryStore().WriteString(BackupListKey(), name, Rooted(text, m_tree.Root()));
  }
  void Load() { ASSERT_EQ(m_pBackup->PersistSettings(0), S_OK); }
  Values Save() {
    EXPECT_EQ(m_pBackup->PersistSettings(1), S_OK);
    return KeptBackupList::Read();
  }
  Values Expected(const Values& values) const {
    Values rooted;
    for (const auto& [name, text] : values) rooted.emplace_back(name, Rooted(text, m_tree.Root()));
    return rooted;
  }
  // Each row as "path | include | exclude | item data", the path relative to the tree.
  Texts Rows() const {
    const HWND list = GetDlgItem(m_hPage, kList);
    const Texts paths = uitest::ListColumn(m_hPage, kList, 0);
    Texts rows;
    for (size_t row = 0; row < paths.size(); ++row) {
      LVITEMA item{};
      item.mask = LVIF_PARAM;
      item.iItem = static_cast<int>(row);
      ListView_GetItem(list, &item);
      const std::string& path = paths[row];
      rows.push_back((path.rfind(m_tree.Root(), 0) == 0 ? path.substr(m_tree.Root().size()) : path) + " | " +
                     uitest::ListColumn(m_hPage, kList, 1)[row] + " | " + uitest::ListColumn(m_hPage, kList, 2)[row] +
                     " | " + std::to_string(item.lParam));
    }
    return rows;
  }
  std::string Controls() const { return uitest::DescribeControls(m_hPage, {kPropertiesButton, kRemoveButton}); }
  // Drags the files onto the list, as another program does; the effect granted.
  DWORD Drop(const Texts& relative) {
    Texts paths;
    for (const std::string& path : relative) paths.push_back(At(path));
    const std::string bytes = uitest::FileListBytes(paths);
    UniqueHglobal memory(GlobalAlloc(GMEM_FIXED, bytes.size()));
    std::copy(bytes.begin(), bytes.end(), static_cast<char*>(memory.get()));
    auto* source = new CFileDropSource(std::move(memory));
    ComPtr<IDataObject> data;
    source->InnerUnknown()->QueryInterface(IID_IDataObject, data.put_void());
    source->InnerUnknown()->Release();
    return uitest::DropOn(GetDlgItem(m_hPage, kList), data.get());
  }
  // The tree item showing drive C:, or the test's folder under it, opened and selected in
  // the page's tree as a user does.
  HTREEITEM TreeItem(bool drive) const {
    uitest::ChooseTreePath(m_hPage, kTree, drive ? "C:\\" : m_tree.Root());
    return TreeView_GetSelection(GetDlgItem(m_hPage, kTree));
  }

  OleThread m_ole;
  KeptBackupList m_kept;
  TempTree m_tree{"C:\\"};
  CControlContainer m_container;
  HWND m_hPage = nullptr;
  ComPtr<IBkQnAxBackup> m_pBackup;
};

// In the folder dialog: adds the exclude mask "*.tmp" through the input box, then OK.
void ExcludeTmpAndConfirm(HWND dialog) {
  uitest::ModalDriver nested;
  nested.On("Input Box: Exclude mask", [](HWND box) {
    uitest::Type(box, 257, "*.tmp");
    uitest::Click(box, IDOK);
  });
  uitest::Click(dialog, 229);
  uitest::Click(dialog, IDOK);
}

// What is stored, what the page shows after loading it, and what it stores again. A row's item
// data is its entry's index in the order the store enumerates the values (by name, in Wine's
// registry); a refused entry still takes its index.
struct StoreCase {
  const char* name;
  Values stored;
  Texts rows;
  Values saved;
};

void PrintTo(const StoreCase& c, std::ostream* os) { *os << c.name; }

std::vector<StoreCase> StoreCases() {
  CFolderEntry docs = FolderEntry("@Docs", "*.doc | *.txt", "*.tmp");
  docs.m_nIncludeRule = RULE_LAST_WEEKS;
  docs.m_nIncludeCount = 2;
  docs.m_bRecursive = 0;
  const std::string docsText = FormatFolderEntry(docs), music = FormatFolderEntry(FolderEntry("@Music"));
  const std::string a = FormatFileEntry(File("@a.txt")), b = FormatFileEntry(File("@b.txt", RULE_LAST_DAYS, 3));
  return {
      {"EveryKindInTheRowsOwnOrder",
       {{"file9", docsText}, {"FILE7", b}, {"Fileabc", a}, {"file1", music}},
       {"a.txt | Backup Allways | [none] | 1", "b.txt | modified for last 3 days | [none] | 0",
        "Docs | *.doc | *.txt modified for last 2 weeks | *.tmp | 1", "Music | *.* |  | 0"},
       {{"file0", a}, {"file1", b}, {"file2", docsText}, {"file3", music}}},
      {"OnlyNamesBeginningWithFile",
       {{"fil", a}, {"xfile1", b}, {"other", music}, {"FILE", docsText}},
       {"Docs | *.doc | *.txt modified for last 2 weeks | *.tmp | 0"},
       {{"file0", docsText}}},
      {"TwoValuesForOnePathMakeOneRow",
       {{"file0", a}, {"file1", FormatFileEntry(File("@A.TXT", RULE_TODAY))}},
       {"a.txt | Backup Allways | [none] | 0"},
       {{"file0", a}}},
      {"VanishedAndUnparsableValuesDropOut",
       {{"file0", FormatFolderEntry(FolderEntry("@gone"))}, {"file1", "garbage"}, {"file2", ""}, {"file3", music}},
       {"Music | *.* |  | 1"},
       {{"file0", music}}},
  };
}

class BackupStoreTest : public BackupPageTest, public testing::WithParamInterface<StoreCase> {};

TEST_P(BackupStoreTest, LoadsEveryStoredFormAndSavesTheRowsInOrder) {
  const StoreCase& c = GetParam();
  Store(c.stored);
  Load();
  EXPECT_EQ(Rows(), c.rows);
  EXPECT_EQ(Save(), Expected(c.saved));
}

INSTANTIATE_TEST_SUITE_P(Cases, BackupStoreTest, testing::ValuesIn(StoreCases()),
                         [](const testing::TestParamInfo<StoreCase>& info) { return info.param.name; });

TEST_F(BackupPageTest, LoadsForEveryArgumentButOneAndAnswersValidAlways) {
  Store({{"file0", FormatFileEntry(File("@a.txt"))}, {"other", "x"}});
  const Values stored = KeptBackupList::Read();
  ASSERT_EQ(m_pBackup->PersistSettings(VARIANT_TRUE), S_OK);
  EXPECT_EQ(KeptBackupList::Read(), stored) << "a load stored something";
  // Loaded twice: each entry shows once, while the entry tables grow (the row's index).
  Load();
  EXPECT_EQ(Rows(), Texts{"a.txt | Backup Allways | [none] | 1"});
  // A row whose file has gone is saved empty; an empty list deletes every value.
  DeleteFileA(At("a.txt").c_str());
  EXPECT_EQ(Save(), (Values{{"file0", ""}}));
  Load();
  EXPECT_EQ(Rows(), Texts{});
  EXPECT_EQ(Save(), Values{});
  VARIANT_BOOL valid = 0, changed = 5;
  EXPECT_EQ(m_pBackup->Validate(&valid), S_OK);
  EXPECT_EQ(valid, VARIANT_TRUE);
  EXPECT_EQ(m_pBackup->SettingsChanged(&changed), S_OK);
  EXPECT_EQ(changed, 5);
}

// Dropped from another program through the list's registered drop target: all or nothing,
// every new row selected and given its defaults.
TEST_F(BackupPageTest, TakesDropsWholeWithTheDefaultsOfNewRows) {
  const struct {
    Texts dropped;
    DWORD effect;
    Texts rows;
  } cases[] = {
      {{"c.txt", "a.txt", "b.txt"}, DROPEFFECT_COPY,
       {"a.txt | Backup allways | [none] | -2", "b.txt | Backup allways | [none] | -2",
        "c.txt | Backup allways | [none] | -2"}},
      {{"Docs"}, DROPEFFECT_COPY,
       {"a.txt | Backup allways | [none] | -2", "b.txt | Backup allways | [none] | -2",
        "c.txt | Backup allways | [none] | -2", "Docs | *.* |  | -1"}},
      {{"Music", "B.TXT"}, DROPEFFECT_NONE, {}},
      {{"Music", "missing.txt"}, DROPEFFECT_NONE, {}},
  };
  Texts rows;
  for (const auto& c : cases) {
    EXPECT_EQ(Drop(c.dropped), c.effect) << c.dropped[0];
    if (c.effect == DROPEFFECT_COPY) rows = c.rows;
    EXPECT_EQ(Rows(), rows) << c.dropped[0];
  }
  EXPECT_EQ(uitest::SelectedListRows(m_hPage, kList), (std::vector<int>{0, 1, 2, 3}));
  // Saved as new entries of their kinds.
  EXPECT_EQ(Save(), Expected({{"file0", FormatFileEntry(File("@a.txt"))},
                              {"file1", FormatFileEntry(File("@b.txt"))},
                              {"file2", FormatFileEntry(File("@c.txt"))},
                              {"file3", FormatFolderEntry(FolderEntry("@Docs"))}}));
}

TEST_F(BackupPageTest, ButtonsAndTheListMenuFollowTheSelection) {
  Drop({"a.txt", "b.txt", "c.txt"});
  const struct {
    std::vector<int> selected;
    bool properties, remove;
    Texts menu;
  } cases[] = {
      {{}, false, false, {}},
      {{1}, true, true, {"Properties", "-", "Delete"}},
      {{0, 2}, false, true, {"Properties (greyed)", "-", "Delete"}},
  };
  for (const auto& c : cases) {
    uitest::SelectListRows(m_hPage, kList, c.selected);
    EXPECT_EQ(uitest::IsEnabled(m_hPage, kPropertiesButton), c.properties) << Controls();
    EXPECT_EQ(uitest::IsEnabled(m_hPage, kRemoveButton), c.remove) << Controls();
    if (c.selected.empty()) continue;
    EXPECT_EQ(uitest::ChooseFromMenu([&] { uitest::RightClickListRow(m_hPage, kList, c.selected.back()); }, 0), c.menu);
  }
  // "Delete" from the menu removes every selected row.
  uitest::ChooseFromMenu([&] { uitest::RightClickListRow(m_hPage, kList, 2); }, 100);
  EXPECT_EQ(Rows(), Texts{"b.txt | Backup allways | [none] | -2"});
  EXPECT_FALSE(uitest::IsEnabled(m_hPage, kRemoveButton)) << Controls();
}

TEST_F(BackupPageTest, DeleteKeyRemovesTheSelectedRowsAndKeepsTheirEntries) {
  Store({{"file0", FormatFolderEntry(FolderEntry("@Docs"))}, {"file1", FormatFileEntry(File("@a.txt"))}});
  Load();
  const HWND list = GetDlgItem(m_hPage, kList);
  SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(Rows().size(), 2u) << "removed without a selection";
  uitest::SelectListRows(m_hPage, kList, {0, 1});
  SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(Rows(), Texts{});
  EXPECT_FALSE(uitest::IsEnabled(m_hPage, kRemoveButton)) << Controls();
  // Dropped again, the folder is a new row; its first properties make entry 1, not 0.
  Drop({"Docs"});
  uitest::ModalDriver driver;
  driver.On(kFolderDialog, [](HWND dialog) { uitest::Click(dialog, IDCANCEL); });
  uitest::Click(m_hPage, kPropertiesButton);
  EXPECT_EQ(Rows(), Texts{"Docs | *.* |  | 1"});
}

// The properties of a new row, opened by double click or by button 222, cancelled or confirmed.
TEST_F(BackupPageTest, PropertiesGiveANewRowItsEntryAndRewriteItsTextsOnOk) {
  Drop({"a.txt", "Docs"});
  const struct {
    int row;
    bool doubleClick;
    const char* dialog;
    std::function<void(HWND)> action;
    std::string after;
  } cases[] = {
      {1, true, kFolderDialog, [](HWND d) { uitest::Click(d, IDCANCEL); }, "Docs | *.* |  | 0"},
      {1, false, kFolderDialog, ExcludeTmpAndConfirm, "Docs | *.* | *.tmp | 0"},
      {0, true, kFileDialog, [](HWND d) { uitest::Click(d, IDCANCEL); }, "a.txt | Backup allways | [none] | 0"},
      {0, false, kFileDialog,
       [](HWND d) {
         uitest::Click(d, 212);
         uitest::Click(d, 211);
         uitest::Click(d, IDOK);
       },
       "a.txt | Backup Allways | [none] | 0"},
  };
  for (const auto& c : cases) {
    uitest::ModalDriver driver;
    driver.On(c.dialog, c.action);
    if (c.doubleClick) {
      uitest::DoubleClickListRow(m_hPage, kList, c.row);
    } else {
      uitest::SelectListRows(m_hPage, kList, {c.row});
      uitest::Click(m_hPage, kPropertiesButton);
    }
    EXPECT_EQ(Rows()[c.row], c.after);
  }
  EXPECT_EQ(Save(), Expected({{"file0", FormatFileEntry(File("@a.txt"))},
                              {"file1", FormatFolderEntry(FolderEntry("@Docs", "*.*", "*.tmp"))}}));
}

// The tree's menu: on a folder it adds the folder with its defaults (the list does not report
// that insertion), greyed once it is listed; on a drive greyed; on empty space no menu.
TEST_F(BackupPageTest, TreeMenuAddsFoldersButNotDrives) {
  const std::string folder = m_tree.Root().substr(0, m_tree.Root().size() - 1);
  const auto menuOn = [&](HTREEITEM item, UINT command) {
    return uitest::ChooseFromMenu([&] { uitest::RightClickTreeItem(m_hPage, kTree, item); }, command);
  };
  EXPECT_EQ(menuOn(nullptr, 0), Texts{});
  EXPECT_EQ(menuOn(TreeItem(true), 0), (Texts{"Add to the Backup List (greyed)", "Explore"}));
  EXPECT_EQ(menuOn(TreeItem(false), 1), (Texts{"Add to the Backup List", "Explore"}));
  ASSERT_EQ(uitest::ListColumn(m_hPage, kList, 0), Texts{folder});
  EXPECT_EQ(Rows()[0].substr(folder.size()), " | *.* |  | -1");
  EXPECT_EQ(menuOn(TreeItem(false), 0), (Texts{"Add to the Backup List (greyed)", "Explore"}));
  EXPECT_EQ(Save(), (Values{{"file0", FormatFolderEntry(FolderEntry(folder))}}));
}

// A real OLE drag in this process, started by the tree's TVN_BEGINDRAG.
TEST_F(BackupPageTest, AFolderDraggedFromTheTreeBecomesAFolderRow) {
  uitest::DragOnto(GetDlgItem(m_hPage, kList), [&] {
    NMTREEVIEWA drag{};
    drag.hdr.hwndFrom = GetDlgItem(m_hPage, kTree);
    drag.hdr.idFrom = kTree;
    drag.hdr.code = TVN_BEGINDRAGA;
    drag.itemNew.hItem = TreeItem(false);
    SendMessageA(m_hPage, WM_NOTIFY, kTree, reinterpret_cast<LPARAM>(&drag));
  });
  EXPECT_EQ(Rows(), Texts{m_tree.Root().substr(0, m_tree.Root().size() - 1) + " | *.* |  | -1"});
}

// The whole of a user's backup: the stored list shown, one row removed, a folder dropped and
// given an exclude mask, OK in the host's page; then the backup run hands over what that list
// selects. Cancel leaves the store as it was.
TEST_F(BackupPageTest, WhatTheUserBuildsIsWhatTheBackupRunHandsOver) {
  Store({{"file0", FormatFileEntry(File("@a.txt"))}, {"file1", FormatFileEntry(File("@b.txt"))}});
  const Values before = KeptBackupList::Read();
  ASSERT_EQ(m_container.LoadSettings(), S_OK);
  uitest::SelectListRows(m_hPage, kList, {0});
  uitest::Click(m_hPage, kRemoveButton);
  uitest::Click(m_container.hwnd(), IDCANCEL);
  EXPECT_EQ(m_container.Result(), CControlContainer::Outcome::kCancelled);
  EXPECT_EQ(KeptBackupList::Read(), before);

  CControlContainer again;
  Open(again);
  ASSERT_EQ(again.LoadSettings(), S_OK);
  uitest::SelectListRows(m_hPage, kList, {0});
  uitest::Click(m_hPage, kRemoveButton);
  EXPECT_EQ(Drop({"Docs"}), DROPEFFECT_COPY);
  {
    uitest::ModalDriver driver;
    driver.On(kFolderDialog, ExcludeTmpAndConfirm);
    uitest::DoubleClickListRow(m_hPage, kList, 1);
  }
  uitest::Click(again.hwnd(), IDOK);
  EXPECT_EQ(again.Result(), CControlContainer::Outcome::kStored);

  const ComPtr<IBkQnService> service = NewService();
  ASSERT_TRUE(service);
  CallLog log;
  const auto backuper = ComPtr<RecordingBackuper>::Adopt(new RecordingBackuper(log, {}));
  const auto progress = ComPtr<RecordingProgress>::Adopt(new RecordingProgress(log, S_OK));
  EXPECT_EQ(service->Backup(backuper.get(), progress.get()), S_OK);
  const auto backedUp = [&](const std::string& relative, const std::string& name) {
    return Call("BackupFile", {At(relative), name, "File Backup", "1", "-1"});
  };
  EXPECT_EQ(log, (CallLog{Call("BeginClient", {"Files and folders", kServiceClsid, "3"}), backedUp("b.txt", "b.txt"),
                          backedUp("Docs\\report.doc", "report.doc"), backedUp("Docs\\sub\\notes.txt", "notes.txt"),
                          Call("EndClient", {"0"})}));
}

}  // namespace
