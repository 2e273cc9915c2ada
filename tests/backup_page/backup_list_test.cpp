#include <gtest/gtest.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "backup_page/backup_list_ctrl.h"
#include "backup_page/folder_tree_ctrl.h"
#include "backup_page/folder_tree_manager.h"
#include "tests/backup_page/tree_list_host.h"
#include "tests/support/temp_tree.h"
#include "tests/support/win32/ui_driver.h"

namespace {

using Names = std::vector<std::string>;

class CNoDrives final : public CDriveList {
 public:
  DWORD LogicalDriveStrings(DWORD, char* buffer) const override {
    buffer[0] = '\0';
    return 0;
  }
  UINT DriveType(const char*) const override { return DRIVE_NO_ROOT_DIR; }
};

const int kDriveTypes[] = {DRIVE_FIXED};

// The list bound as the backup page binds it, its manager over no drives, and a folder of
// files and folders to add. Rows are named relative to that folder.
class BackupListTest : public testing::Test {
 protected:
  BackupListTest() {
    OleInitialize(nullptr);
    for (const char* folder : {"Data\\inner", "Windows", "sysdir"}) m_tree.AddFolder(folder);
    for (const char* file : {"a.txt", "b.txt", "c.txt", "aXb.txt", "a_b.txt"}) m_tree.AddFile(file, 0);
    m_tree.AddFile("system.txt", 0, FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA(m_tree.Path("sysdir").c_str(), FILE_ATTRIBUTE_SYSTEM);
    m_list.Bind(m_host.List());
    m_treeCtrl.Bind(m_host.Tree());
    m_pManager = std::make_unique<FolderTreeManager>(m_treeCtrl, m_list, kDriveTypes, 1, true, m_drives);
  }
  ~BackupListTest() override {
    m_pManager.reset();
    m_list.Unbind();
    OleUninitialize();
  }

  std::vector<std::string> Paths(const Names& names) const {
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back(m_tree.Path(name));
    return paths;
  }
  Names Rows() const {
    Names rows;
    for (const std::string& text : uitest::ListColumn(m_host.hwnd(), 206, 0)) rows.push_back(text.substr(m_tree.Root().size()));
    return rows;
  }
  LPARAM ItemData(int row) const {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(m_host.List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
  }
  void AddRows(const Names& names) {
    for (const std::string& path : Paths(names)) ASSERT_GE(m_pManager->AddPath(path, -1), 0) << path;
  }

  CTreeListHost m_host;
  const CNoDrives m_drives;
  TempTree m_tree;
  BackupListCtrl m_list;
  FolderTreeCtrl m_treeCtrl;
  std::unique_ptr<FolderTreeManager> m_pManager;
};

struct AddCase {
  const char* name;
  Names listed;
  std::string added;
  int entry;
  int row;  // -1: refused
  Names rows;
};

class AddPathTest : public BackupListTest, public testing::WithParamInterface<AddCase> {};

TEST_P(AddPathTest, KeepsOneRowPerPathInUpperCasedOrder) {
  const AddCase& c = GetParam();
  AddRows(c.listed);
  const std::string path = m_tree.Path(c.added);
  EXPECT_EQ(m_pManager->CanAddPath(path), c.row >= 0);
  ASSERT_EQ(m_pManager->AddPath(path, c.entry), c.row);
  EXPECT_EQ(Rows(), c.rows);
  if (c.row >= 0) {
    EXPECT_EQ(ItemData(c.row), c.entry == -1 ? 0 : c.entry);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, AddPathTest,
    testing::Values(AddCase{"FirstRow", {}, "Data", -1, 0, {"Data"}},
                    AddCase{"BeforeALaterPath", {"Windows"}, "Data", 7, 0, {"Data", "Windows"}},
                    AddCase{"AfterAnEarlierPath", {"a.txt", "Data"}, "b.txt", 0, 1, {"a.txt", "b.txt", "Data"}},
                    // Upper-cased, "_" sorts after the letters.
                    AddCase{"UnderscoreAfterLetters", {"aXb.txt"}, "a_b.txt", 2, 1, {"aXb.txt", "a_b.txt"}},
                    AddCase{"FolderInsideAListedFolder", {"Data"}, "Data\\inner", -1, 1, {"Data", "Data\\inner"}},
                    AddCase{"ListedInAnotherCase", {"Data"}, "dATA", -1, -1, {"Data"}},
                    AddCase{"ListedWithoutTheBackslash", {"Data"}, "Data\\", -1, -1, {"Data"}},
                    AddCase{"Missing", {}, "missing.txt", -1, -1, {}},
                    AddCase{"SystemFile", {}, "system.txt", -1, -1, {}},
                    AddCase{"SystemFolder", {}, "sysdir", -1, -1, {}}),
    [](const testing::TestParamInfo<AddCase>& info) { return std::string(info.param.name); });

TEST_F(BackupListTest, RemovesRowsByPathIgnoringCaseAndClearsThem) {
  AddRows({"a.txt", "b.txt", "c.txt", "Data"});
  m_pManager->RemovePaths(Paths({"B.TXT", "missing.txt", "data"}));
  EXPECT_EQ(Rows(), (Names{"a.txt", "c.txt"}));
  m_pManager->ClearRows();
  EXPECT_EQ(Rows(), Names{});
}

TEST_F(BackupListTest, ProbesWhetherAPathExistsAndIsAFolder) {
  EXPECT_EQ(IsDirectoryPath(m_tree.Path("Data")), PathKind::Directory);
  EXPECT_EQ(IsDirectoryPath(m_tree.Path("a.txt")), PathKind::File);
  EXPECT_EQ(IsDirectoryPath(m_tree.Path("missing")), PathKind::Missing);
}

// How the dropped data carries its names.
enum class Form { Narrow, Wide, NoFileList, Unended, OutsideItsMemory };

struct DropCase {
  const char* name;
  Names listed;
  Names dropped;
  Form form;
  DWORD effect;
  Names rows;
  std::vector<int> selected;
};

class DropTest : public BackupListTest, public testing::WithParamInterface<DropCase> {};

TEST_P(DropTest, TakesTheWholeFileListOrNothing) {
  const DropCase& c = GetParam();
  AddRows(c.listed);
  std::string bytes = uitest::FileListBytes(Paths(c.dropped), c.form == Form::Wide);
  // Names that run past the end of their memory, or a list that starts outside it.
  if (c.form == Form::Unended) bytes.resize(bytes.size() - 2);
  if (c.form == Form::OutsideItsMemory) bytes[0] = '\xff';
  const ComPtr<IDataObject> data = uitest::MakeDataObject(c.form == Form::NoFileList ? CF_TEXT : CF_HDROP, bytes);
  const uitest::DropSeen seen = uitest::DropOn(m_host.List(), data.get());
  ASSERT_TRUE(seen.registered);
  EXPECT_EQ(seen.enter, c.effect);
  EXPECT_EQ(seen.over, c.effect);
  EXPECT_EQ(seen.drop, c.effect);
  EXPECT_EQ(Rows(), c.rows);
  EXPECT_EQ(uitest::SelectedListRows(m_host.hwnd(), 206), c.selected);
  for (int row = 0; row < static_cast<int>(c.rows.size()); ++row) EXPECT_EQ(ItemData(row), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Drops, DropTest,
    testing::Values(
        DropCase{"ThreeNewFiles", {}, {"c.txt", "a.txt", "b.txt"}, Form::Narrow, DROPEFFECT_COPY, {"a.txt", "b.txt", "c.txt"}, {0, 1, 2}},
        DropCase{"AFolder", {"a.txt"}, {"Data"}, Form::Narrow, DROPEFFECT_COPY, {"a.txt", "Data"}, {1}},
        DropCase{"WideNames", {}, {"Data", "b.txt"}, Form::Wide, DROPEFFECT_COPY, {"b.txt", "Data"}, {0, 1}},
        DropCase{"OneAlreadyListed", {"b.txt"}, {"a.txt", "B.txt", "c.txt"}, Form::Narrow, DROPEFFECT_NONE, {"b.txt"}, {}},
        DropCase{"AMissingPath", {}, {"a.txt", "missing.txt"}, Form::Narrow, DROPEFFECT_NONE, {}, {}},
        DropCase{"ASystemFile", {}, {"system.txt"}, Form::Narrow, DROPEFFECT_NONE, {}, {}},
        DropCase{"NoFileList", {}, {"a.txt"}, Form::NoFileList, DROPEFFECT_NONE, {}, {}},
        DropCase{"Unended", {}, {"a.txt"}, Form::Unended, DROPEFFECT_NONE, {}, {}},
        DropCase{"OutsideItsMemory", {}, {"a.txt"}, Form::OutsideItsMemory, DROPEFFECT_NONE, {}, {}}),
    [](const testing::TestParamInfo<DropCase>& info) { return std::string(info.param.name); });

TEST_F(BackupListTest, UnbindingRevokesTheDropTargetAndGivesTheSystemImageListBack) {
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(m_host.List(), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  ASSERT_TRUE(images);
  const int icons = ImageList_GetImageCount(images);
  m_list.Unbind();
  EXPECT_FALSE(GetPropA(m_host.List(), "OleDropTargetInterface"));
  EXPECT_EQ(SendMessageA(m_host.List(), LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
  // The window goes; the shared list stays.
  DestroyWindow(m_host.List());
  EXPECT_EQ(ImageList_GetImageCount(images), icons);
}

}  // namespace
