// The backup selection page in a real container, driven as a user does (drops, right clicks
// and their menus, keys, buttons, the properties dialogs), checked through the list's
// own rows and what PersistSettings stored, and at the end through the backup run reading it.
#include <windows.h>

#include <gtest/gtest.h>

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
#include "ui/controls.h"

namespace {

constexpr int kTree = 201;
constexpr int kList = 206;
constexpr int kPropertiesButton = 222;
constexpr int kRemoveButton = 223;
const char kFolderDialog[] = "Backup Folder Properties";
using Values = std::vector<std::pair<std::string, std::string>>;
using Texts = std::vector<std::string>;

// Every value of the backup list's key, in the store's order (the program's own HKEY_CURRENT_USER).
Values StoredList() {
  const CRegistryStore store;
  Values values;
  for (int32_t i = 0, count = static_cast<int32_t>(store.EnumValue(BackupListKey())); i < count; ++i) {
    std::string name;
    store.EnumValue(BackupListKey(), i, &name);
    values.emplace_back(name, store.ReadString(BackupListKey(), name));
  }
  return values;
}

CFileEntry File(const std::string& path, int32_t rule = RULE_NONE, int32_t count = -1) {
  return {path, rule, count, 0};
}

// The page's list takes drops, which needs OLE on the thread; for as long as the page lives.
struct OleThread {
  OleThread() { OleInitialize(nullptr); }
  ~OleThread() { OleUninitialize(); }
};

// How a drop's data carries its names: as another program makes them, or without the empty
// name that ends them.
enum class Form { Narrow, Wide, Unended };

// The test's tree (a folder of its own on C:, so the page's tree shows it):
//   Docs\report.doc  Docs\old.tmp  Docs\sub\notes.txt  Music\  sys\ (system)  a.txt  b.txt  c.txt
class BackupPageTest : public ModuleTest {
 protected:
  void SetUp() override {
    for (const char* file : {"Docs\\report.doc", "Docs\\old.tmp", "Docs\\sub\\notes.txt", "a.txt", "b.txt", "c.txt"}) {
      m_tree.AddFile(file, 1700000000);
    }
    m_tree.AddFolder("Music");
    m_tree.AddFolder("sys");
    SetFileAttributesA(At("sys").c_str(), FILE_ATTRIBUTE_SYSTEM);
    CRegistryStore().ClearValues(BackupListKey());
    ASSERT_EQ(m_container.Open(CLSID_BkQnFilesFolders, "Backup"), S_OK);
    m_hPage = m_container.PageWindow();
    ASSERT_HRESULT_SUCCEEDED(m_container.Control()->QueryInterface(IID_IBkQnAxBackup, m_pBackup.put_void()));
  }
  std::string At(const std::string& relative) const { return m_tree.Path(relative); }
  void Store(const Values& values) const {
    for (const auto& [name, text] : values) {
      CRegistryStore().WriteString(BackupListKey(), name, Rooted(text, m_tree.Root()));
    }
  }
  // What PersistSettings(1) stored, the tree's root written "@".
  Values Save() {
    EXPECT_EQ(m_pBackup->PersistSettings(1), S_OK);
    Values values = StoredList();
    for (auto& [name, text] : values) {
      const size_t root = text.find(m_tree.Root());
      if (root != std::string::npos) text.replace(root, m_tree.Root().size(), "@");
    }
    return values;
  }
  // Each row as "path | include | exclude | item data", the path relative to the tree.
  Texts Rows() const {
    const HWND list = GetDlgItem(m_hPage, kList);
    Texts rows = uitest::ListColumn(m_hPage, kList, 0);
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
      if (rows[row].rfind(m_tree.Root(), 0) == 0) rows[row].erase(0, m_tree.Root().size());
      rows[row] += " | " + ui::ListItemText(list, row, 1) + " | " + ui::ListItemText(list, row, 2) + " | " +
                   std::to_string(ui::ListRowData(list, row, -9));
    }
    return rows;
  }
  // Drags the files onto the list, as another program does (a real OLE drag); the effect granted.
  DWORD Drop(const Texts& relative, Form form = Form::Narrow) {
    Texts paths;
    for (const std::string& path : relative) paths.push_back(At(path));
    std::string bytes = uitest::FileListBytes(paths, form == Form::Wide);
    if (form == Form::Unended) bytes.pop_back();
    UniqueHglobal memory(GlobalAlloc(GMEM_FIXED, bytes.size()));
    std::copy(bytes.begin(), bytes.end(), static_cast<char*>(memory.get()));
    auto* source = new CFileDropSource(std::move(memory));
    ComPtr<IDataObject> data;
    ComPtr<IDropSource> drag;
    source->InnerUnknown()->QueryInterface(IID_IDataObject, data.put_void());
    source->InnerUnknown()->QueryInterface(IID_IDropSource, drag.put_void());
    source->InnerUnknown()->Release();
    DWORD effect = DROPEFFECT_NONE;
    uitest::DragOnto(GetDlgItem(m_hPage, kList), [&] {
      DoDragDrop(data.get(), drag.get(), DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
    });
    return effect;
  }
  // The tree's menu on drive C:, or on the test's folder under it, opened and selected in the
  // page's tree as a user does; its items.
  Texts TreeMenu(bool drive, UINT command) const {
    uitest::ChooseTreePath(m_hPage, kTree, drive ? "C:\\" : m_tree.Root());
    const HTREEITEM item = TreeView_GetSelection(GetDlgItem(m_hPage, kTree));
    return uitest::ChooseFromMenu([&] { uitest::RightClickTreeItem(m_hPage, kTree, item); }, command);
  }

  OleThread m_ole;
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

// Dropped from another program through the list's registered drop target: all or nothing,
// every new row selected and given its defaults; a broken list is refused. The tree's menu adds
// a folder (the list does not report that insertion) but not a drive.
TEST_F(BackupPageTest, TakesDropsAndTheTreesFoldersWithTheDefaultsOfNewRows) {
  const struct {
    Texts dropped;
    Form form;
    DWORD effect;
  } cases[] = {
      {{"c.txt", "a.txt", "b.txt"}, Form::Narrow, DROPEFFECT_COPY},
      {{"Docs"}, Form::Wide, DROPEFFECT_COPY},
      {{"Music"}, Form::Unended, DROPEFFECT_NONE},
      {{"Music", "Docs\\"}, Form::Narrow, DROPEFFECT_NONE},
      {{"Music", "gone"}, Form::Narrow, DROPEFFECT_NONE},
      {{"sys"}, Form::Narrow, DROPEFFECT_NONE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dropped.back());
    EXPECT_EQ(Drop(c.dropped, c.form), c.effect);
  }
  EXPECT_EQ(Rows(), (Texts{"a.txt | Backup allways | [none] | -2", "b.txt | Backup allways | [none] | -2",
                           "c.txt | Backup allways | [none] | -2", "Docs | *.* |  | -1"}));
  EXPECT_EQ(uitest::SelectedListRows(m_hPage, kList), (std::vector<int>{0, 1, 2, 3}));
  const std::string folder = m_tree.Root().substr(0, m_tree.Root().size() - 1);
  EXPECT_EQ(TreeMenu(true, 0), (Texts{"Add to the Backup List (greyed)", "Explore"}));
  TreeMenu(false, 1);
  EXPECT_EQ(Rows().front(), folder + " | *.* |  | -1");
  EXPECT_EQ(Save(), Values({{"file0", FormatFolderEntry(FolderEntry(folder))},
                            {"file1", FormatFileEntry(File("@a.txt"))},
                            {"file2", FormatFileEntry(File("@b.txt"))},
                            {"file3", FormatFileEntry(File("@c.txt"))},
                            {"file4", FormatFolderEntry(FolderEntry("@Docs"))}}));
}

// What is stored, what the page shows after loading it, and what it stores again. A row's item
// data is its entry's index among the entries of its kind, in the order the store enumerates
// the values (by name, in Wine's registry); a refused entry (a vanished path, a second value
// for a path) still takes its index, an unparsable one does not, and a second load adds to
// them; a name not beginning with "file" is no entry. Then the list's buttons, menu and Delete
// key on those rows, and the properties of new rows: the first gives a row its entry
// (after those the list had, which removing rows keeps), OK rewrites its texts; the host's
// Cancel stores none of it.
TEST_F(BackupPageTest, LoadsEditsAndSavesTheRows) {
  CFolderEntry docs = FolderEntry("@Docs", "*.doc | *.txt", "*.tmp");
  docs.m_nIncludeRule = RULE_LAST_WEEKS;
  docs.m_nIncludeCount = 2;
  docs.m_bRecursive = 0;
  const std::string docsText = FormatFolderEntry(docs), music = FormatFolderEntry(FolderEntry("@Music"));
  const std::string a = FormatFileEntry(File("@a.txt")), b = FormatFileEntry(File("@b.txt", RULE_LAST_DAYS, 3));
  Store({{"file9", docsText}, {"FILE7", b}, {"Fileabc", a}, {"file1", music},
         {"Filez", FormatFileEntry(File("@A.TXT"))}, {"file0", FormatFolderEntry(FolderEntry("@gone"))},
         {"file2", "garbage"}, {"other", FormatFileEntry(File("@c.txt"))}});
  const Values stored = StoredList();
  // Any argument but 1 loads, and a load stores nothing; loaded twice, each entry shows once.
  ASSERT_EQ(m_pBackup->PersistSettings(VARIANT_TRUE), S_OK);
  ASSERT_EQ(m_pBackup->PersistSettings(0), S_OK);
  EXPECT_EQ(StoredList(), stored);
  EXPECT_EQ(Rows(), (Texts{"a.txt | Backup Allways | [none] | 4", "b.txt | modified for last 3 days | [none] | 3",
                           "Docs | *.doc | *.txt modified for last 2 weeks | *.tmp | 5", "Music | *.* |  | 4"}));
  EXPECT_EQ(Save(), Values({{"file0", a}, {"file1", b}, {"file2", docsText}, {"file3", music}}));
  // A row whose file has gone is saved empty.
  DeleteFileA(At("a.txt").c_str());
  EXPECT_EQ(Save(), Values({{"file0", ""}, {"file1", b}, {"file2", docsText}, {"file3", music}}));

  // Properties and Remove enabled.
  const auto buttons = [&] {
    return std::make_pair(uitest::IsEnabled(m_hPage, kPropertiesButton), uitest::IsEnabled(m_hPage, kRemoveButton));
  };
  uitest::SelectListRows(m_hPage, kList, {1});
  EXPECT_EQ(buttons(), std::make_pair(true, true));
  EXPECT_EQ(uitest::ChooseFromMenu([&] { uitest::RightClickListRow(m_hPage, kList, 1); }, 0),
            (Texts{"Properties", "-", "Delete"}));
  uitest::SelectListRows(m_hPage, kList, {0, 2});
  EXPECT_EQ(buttons(), std::make_pair(false, true));
  // "Delete" from the menu removes every selected row, and so does the key.
  EXPECT_EQ(uitest::ChooseFromMenu([&] { uitest::RightClickListRow(m_hPage, kList, 2); }, 100),
            (Texts{"Properties (greyed)", "-", "Delete"}));
  EXPECT_EQ(Rows(), (Texts{"b.txt | modified for last 3 days | [none] | 3", "Music | *.* |  | 4"}));
  uitest::SelectListRows(m_hPage, kList, {0});
  SendMessageA(GetDlgItem(m_hPage, kList), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(buttons(), std::make_pair(false, false));
  SendMessageA(GetDlgItem(m_hPage, kList), WM_KEYDOWN, VK_DELETE, 0);  // nothing selected
  EXPECT_EQ(Rows(), Texts{"Music | *.* |  | 4"});
  EXPECT_EQ(Save(), Values({{"file0", music}})) << "the values beyond the rows are deleted";

  Drop({"Docs", "c.txt"});
  {
    uitest::ModalDriver driver;
    driver.On(kFolderDialog, [](HWND dialog) { uitest::Click(dialog, IDCANCEL); });
    driver.On("Backup File Properties", [](HWND dialog) {
      uitest::Click(dialog, 212);
      uitest::Click(dialog, 211);
      uitest::Click(dialog, IDOK);
    });
    uitest::SelectListRows(m_hPage, kList, {1});
    uitest::Click(m_hPage, kPropertiesButton);
    uitest::DoubleClickListRow(m_hPage, kList, 0);
  }
  EXPECT_EQ(Rows(), (Texts{"c.txt | Backup Allways | [none] | 6", "Docs | *.* |  | 6", "Music | *.* |  | 4"}));
  uitest::Click(m_container.hwnd(), IDCANCEL);
  EXPECT_EQ(StoredList().size(), 1u) << "stored on Cancel";
}

// The whole of a user's backup: the stored list shown, one row removed, a folder dropped and
// given an exclude mask, OK in the host's page; then the backup run hands over what that list
// selects. The list gives the system's image list back.
TEST_F(BackupPageTest, WhatTheUserBuildsIsWhatTheBackupRunHandsOver) {
  Store({{"file0", FormatFileEntry(File("@a.txt"))}, {"file1", FormatFileEntry(File("@b.txt"))}});
  const HIMAGELIST images = ListView_GetImageList(GetDlgItem(m_hPage, kList), LVSIL_SMALL);
  const int icons = ImageList_GetImageCount(images);
  ASSERT_EQ(m_container.LoadSettings(), S_OK);
  uitest::SelectListRows(m_hPage, kList, {0});
  uitest::Click(m_hPage, kRemoveButton);
  EXPECT_EQ(Drop({"Docs"}), DROPEFFECT_COPY);
  {
    uitest::ModalDriver driver;
    driver.On(kFolderDialog, ExcludeTmpAndConfirm);
    uitest::DoubleClickListRow(m_hPage, kList, 1);
  }
  uitest::Click(m_container.hwnd(), IDOK);
  EXPECT_EQ(m_container.Result(), CControlContainer::Outcome::kStored);
  m_container.CloseControl();
  EXPECT_GT(icons, 0);
  EXPECT_EQ(ImageList_GetImageCount(images), icons) << "the shared list went with the page";

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
