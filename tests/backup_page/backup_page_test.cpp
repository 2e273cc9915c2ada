// The drive and folder tree in a plain window of the test's own (the tree 201 beside the list
// 206, bound as the backup page binds them), over drives the test chooses through the seam.
#include <gtest/gtest.h>
#include <ole2.h>

#include <memory>
#include <string>
#include <vector>

#include "backup_page/backup_list_ctrl.h"
#include "backup_page/folder_tree_ctrl.h"
#include "backup_page/folder_tree_manager.h"
#include "tests/support/temp_tree.h"
#include "tests/support/win32/ui_driver.h"
#include "ui/window.h"

namespace {

using Names = std::vector<std::string>;
using Drives = std::vector<std::pair<std::string, UINT>>;

// The roots stay real paths: one missing from the prefix (A:) is a drive without a medium.
class CFakeDrives final : public CDriveList {
 public:
  explicit CFakeDrives(Drives drives) : m_vDrives(std::move(drives)) {}
  DWORD LogicalDriveStrings(DWORD, char* buffer) const override {
    std::string all;
    for (const auto& drive : m_vDrives) all += drive.first + '\0';
    std::copy(all.begin(), all.end() + 1, buffer);
    return static_cast<DWORD>(all.size());
  }
  UINT DriveType(const char* root) const override {
    for (const auto& drive : m_vDrives) {
      if (drive.first == root) return drive.second;
    }
    return DRIVE_NO_ROOT_DIR;
  }

 private:
  Drives m_vDrives;
};

// The page's window: hands the tree's expansions to the manager.
class CHost final : public ui::CWindow {
 public:
  CHost() {
    ui::EnsureCommonControls();
    Create("BkQnTreeListHost", "", WS_POPUP | WS_VISIBLE, 0, RECT{0, 0, 600, 400}, nullptr);
    m_hTree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS, 0, 0, 250, 400, hwnd(),
                              reinterpret_cast<HMENU>(201), nullptr, nullptr);
    m_hList = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 260, 0, 340, 400, hwnd(),
                              reinterpret_cast<HMENU>(206), nullptr, nullptr);
  }
  HWND m_hTree;
  HWND m_hList;
  FolderTreeManager* m_pManager = nullptr;

 protected:
  ui::MessageResult OnMessage(UINT message, WPARAM, LPARAM lParam) override {
    const auto* tree = reinterpret_cast<const NMTREEVIEWA*>(lParam);
    if (message == WM_NOTIFY && m_pManager && tree->hdr.code == TVN_ITEMEXPANDEDA) m_pManager->ExpandChildren(*tree);
    return ui::NotHandled();
  }
};

std::string TextOf(HWND tree, HTREEITEM item) {
  char text[MAX_PATH] = {};
  TVITEMA data{};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = MAX_PATH;
  TreeView_GetItem(tree, &data);
  return text;
}

// The item at `path` (names from the top), null when missing.
HTREEITEM Item(HWND tree, const Names& path) {
  HTREEITEM item = TreeView_GetRoot(tree);
  for (size_t name = 0; item && name < path.size(); ++name) {
    while (item && TextOf(tree, item) != path[name]) item = TreeView_GetNextSibling(tree, item);
    if (item && name + 1 < path.size()) item = TreeView_GetChild(tree, item);
  }
  return item;
}

// The names listed under `path` (empty: the drives).
Names Children(HWND tree, const Names& path) {
  const HTREEITEM parent = path.empty() ? nullptr : Item(tree, path);
  HTREEITEM item = path.empty() ? TreeView_GetRoot(tree) : parent ? TreeView_GetChild(tree, parent) : nullptr;
  Names names;
  for (; item; item = TreeView_GetNextSibling(tree, item)) names.push_back(TextOf(tree, item));
  return names;
}

// Ready drives of the wanted types, in the system's order. The first case: a floppy without a
// disk, the fixed disk, a CD-ROM and a network drive.
TEST(TreeDrivesTest, ShowsReadyDrivesOfTheWantedTypesInTheSystemsOrder) {
  const struct {
    Drives drives;
    std::vector<int> wanted;
    Names shown;
  } cases[] = {{{{"A:\\", DRIVE_REMOVABLE}, {"C:\\", DRIVE_FIXED}, {"D:\\", DRIVE_CDROM}, {"Z:\\", DRIVE_REMOTE}},
                {3, 2, 4},
                {"C:", "Z:"}},
               {{{"Z:\\", DRIVE_REMOTE}, {"C:\\", DRIVE_FIXED}}, {3, 2, 4}, {"Z:", "C:"}},
               {{{"C:\\", DRIVE_RAMDISK}, {"Z:\\", DRIVE_REMOVABLE}}, {2}, {"Z:"}},
               {{}, {3}, {}}};
  for (const auto& c : cases) {
    CHost host;
    const CFakeDrives drives(c.drives);
    const FolderTreeManager manager(host.m_hTree, nullptr, c.wanted.data(), static_cast<int>(c.wanted.size()), false,
                                    drives);
    EXPECT_EQ(Children(host.m_hTree, {}), c.shown);
  }
}

// The tree and list over drive C:, whose first level holds a folder of the test's own:
//   .dot\x  sys\x (system)  hidden\inner (hidden)  plain\deep\deeper  empty
class TreeTest : public testing::Test {
 protected:
  TreeTest()
      : m_drives({{"C:\\", DRIVE_FIXED}}),
        m_tree("C:\\"),
        m_mine({"C:", m_tree.Root().substr(3, m_tree.Root().size() - 4)}) {
    OleInitialize(nullptr);
    for (const char* folder : {".dot\\x", "sys\\x", "hidden\\inner", "plain\\deep\\deeper", "empty"}) {
      m_tree.AddFolder(folder);
    }
    SetFileAttributesA(m_tree.Path("sys").c_str(), FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA(m_tree.Path("hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    m_treeCtrl.Bind(m_host.m_hTree);
    m_list.Bind(m_host.m_hList);
    m_pManager = std::make_unique<FolderTreeManager>(m_treeCtrl, m_list, kTypes, 1, true, m_drives);
    m_host.m_pManager = m_pManager.get();
  }
  ~TreeTest() override {
    m_host.m_pManager = nullptr;
    m_pManager.reset();
    m_list.Unbind();
    OleUninitialize();
  }
  Names Children(const Names& path) const { return ::Children(m_host.m_hTree, path); }
  HTREEITEM Item(const Names& path) const { return ::Item(m_host.m_hTree, path); }

  static constexpr int kTypes[] = {DRIVE_FIXED};
  CHost m_host;
  const CFakeDrives m_drives;
  TempTree m_tree;
  Names m_mine;  // the test's folder: C:, its name
  FolderTreeCtrl m_treeCtrl;
  BackupListCtrl m_list;
  std::unique_ptr<FolderTreeManager> m_pManager;
};

TEST_F(TreeTest, ListsFoldersOneLevelAheadOfWhatIsOpenOnceEach) {
  const Names plain = {"C:", m_mine[1], "plain"};
  ASSERT_TRUE(Item(m_mine)) << "the first level, unopened";
  EXPECT_EQ(Children(m_mine), Names{});
  // Opening C: lists its folders' subfolders: dot-named and system ones left out, hidden shown
  // (Wine keeps no temporary attribute on a folder; the tree's rule table has that row).
  TreeView_Expand(m_host.m_hTree, Item({"C:"}), TVE_EXPAND);
  EXPECT_EQ(Children(m_mine), (Names{"empty", "hidden", "plain"}));
  EXPECT_EQ(Children(plain), Names{});
  TreeView_Expand(m_host.m_hTree, Item(m_mine), TVE_EXPAND);
  EXPECT_EQ(Children(plain), Names{"deep"});
  // Closed and opened again, however reported, lists nothing twice; a collapse lists nothing.
  const int nodes = m_pManager->NodeCount();
  TreeView_Expand(m_host.m_hTree, Item(m_mine), TVE_COLLAPSE);
  TreeView_Expand(m_host.m_hTree, Item(m_mine), TVE_EXPAND);
  for (const auto& [path, action] : std::vector<std::pair<Names, UINT>>{{m_mine, TVE_EXPAND}, {plain, TVE_COLLAPSE}}) {
    NMTREEVIEWA expansion{};
    expansion.action = action;
    expansion.itemNew.hItem = Item(path);
    m_pManager->ExpandChildren(expansion);
  }
  EXPECT_EQ(m_pManager->NodeCount(), nodes);
  EXPECT_EQ(Children(plain), Names{"deep"});
}

// A folder's data offers its path without the trailing backslash; dragged in this process onto
// the list it becomes a row, while a drive (which would become a row "C:\") starts nothing.
TEST_F(TreeTest, DragsAFolderOntoTheListAsItsPathAndNeverADrive) {
  const std::string folder = m_tree.Root().substr(0, m_tree.Root().size() - 1);
  const UniqueHglobal data = FolderFileList(m_tree.Root());
  const GlobalLockScope<char> bytes(data.get());
  ASSERT_GE(GlobalSize(data.get()), folder.size() + 22);
  EXPECT_EQ(std::string(bytes.get(), folder.size() + 22),
            std::string("\x14\0\0\0", 4) + std::string(16, '\0') + folder + std::string(2, '\0'));

  for (const Names& path : {Names{"C:"}, m_mine}) {
    uitest::DragOnto(m_host.m_hList, [&] {
      NMTREEVIEWA drag{};
      drag.itemNew.hItem = Item(path);
      m_treeCtrl.BeginDrag(drag);
    });
  }
  EXPECT_EQ(uitest::ListColumn(m_host.hwnd(), 206, 0), Names{folder});
}

}  // namespace
