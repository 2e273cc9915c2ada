// The drive and folder tree and the backup list in a plain window of the test's own (the tree
// 201 and the list 206, bound as the backup page binds them), over drives the test chooses.
#include <gtest/gtest.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "backup_page/backup_list_ctrl.h"
#include "backup_page/file_drop_source.h"
#include "backup_page/folder_tree_ctrl.h"
#include "backup_page/folder_tree_manager.h"
#include "server/com_ptr.h"
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

// The page's window: hands the tree's expansion and selection to the manager.
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
    if (message == WM_NOTIFY && m_pManager && tree->hdr.code == TVN_SELCHANGEDA) m_pManager->SelectNode(*tree);
    return ui::NotHandled();
  }
};

// The child items of `parent` (TVI_ROOT: the top level) with their texts.
std::vector<std::pair<std::string, HTREEITEM>> ChildItems(HWND tree, HTREEITEM parent) {
  std::vector<std::pair<std::string, HTREEITEM>> items;
  HTREEITEM item = parent == TVI_ROOT ? TreeView_GetRoot(tree) : parent ? TreeView_GetChild(tree, parent) : nullptr;
  for (; item; item = TreeView_GetNextSibling(tree, item)) {
    char text[MAX_PATH] = {};
    TVITEMA data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = MAX_PATH;
    TreeView_GetItem(tree, &data);
    items.emplace_back(text, item);
  }
  return items;
}

// The item at `path` (names from the top), null when missing.
HTREEITEM Item(HWND tree, const Names& path) {
  HTREEITEM item = TVI_ROOT;
  for (const std::string& name : path) {
    HTREEITEM child = nullptr;
    for (const auto& [text, each] : ChildItems(tree, item)) child = text == name ? each : child;
    item = child;
  }
  return item;
}

Names Children(HWND tree, const Names& path) {
  Names names;
  for (const auto& each : ChildItems(tree, Item(tree, path))) names.push_back(each.first);
  return names;
}

struct DriveCase {
  Drives drives;
  std::vector<int> wanted;
  Names shown;
};

TEST(TreeDrivesTest, ShowsReadyDrivesOfTheWantedTypesInTheSystemsOrder) {
  const DriveCase cases[] = {
      // A floppy without a disk, the fixed disk, a CD-ROM and a network drive.
      {{{"A:\\", DRIVE_REMOVABLE}, {"C:\\", DRIVE_FIXED}, {"D:\\", DRIVE_CDROM}, {"Z:\\", DRIVE_REMOTE}}, {3, 2, 4}, {"C:", "Z:"}},
      {{{"Z:\\", DRIVE_REMOTE}, {"C:\\", DRIVE_FIXED}}, {3, 2, 4}, {"Z:", "C:"}},
      {{{"C:\\", DRIVE_RAMDISK}, {"Z:\\", DRIVE_REMOVABLE}}, {2}, {"Z:"}},
      {{}, {3}, {}}};
  for (const DriveCase& c : cases) {
    CHost host;
    const CFakeDrives drives(c.drives);
    {
      const FolderTreeManager manager(host.m_hTree, nullptr, c.wanted.data(), static_cast<int>(c.wanted.size()), false, drives);
      EXPECT_EQ(Children(host.m_hTree, {}), c.shown);
      // Two folder images, then one per drive.
      EXPECT_EQ(ImageList_GetImageCount(TreeView_GetImageList(host.m_hTree, TVSIL_NORMAL)), 2 + static_cast<int>(c.shown.size()));
      EXPECT_TRUE(GetWindowLongPtrA(host.m_hTree, GWL_STYLE) & TVS_DISABLEDRAGDROP);
    }
    EXPECT_FALSE(TreeView_GetImageList(host.m_hTree, TVSIL_NORMAL)) << "the tree keeps the destroyed image list";
  }
}

// The page's tree and list over drive C:, whose first level holds a folder of the test's own:
//   .dot\x  sys\x (system)  hidden\inner (hidden)  plain\deep\deeper  empty\  a.txt b.txt c.txt
class BackupPageTest : public testing::Test {
 protected:
  BackupPageTest() : m_drives({{"C:\\", DRIVE_FIXED}}), m_tree("C:\\"), m_strName(m_tree.Root().substr(3, m_tree.Root().size() - 4)) {
    OleInitialize(nullptr);
    for (const char* folder : {".dot\\x", "sys\\x", "hidden\\inner", "plain\\deep\\deeper", "empty"}) m_tree.AddFolder(folder);
    for (const char* file : {"a.txt", "b.txt", "c.txt", "aXb.txt", "a_b.txt"}) m_tree.AddFile(file, 0);
    SetFileAttributesA(m_tree.Path("sys").c_str(), FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA(m_tree.Path("hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    m_treeCtrl.Bind(m_host.m_hTree);
    m_list.Bind(m_host.m_hList);
    m_pManager = std::make_unique<FolderTreeManager>(m_treeCtrl, m_list, kTypes, 3, true, m_drives);
    m_host.m_pManager = m_pManager.get();
  }
  ~BackupPageTest() override {
    m_host.m_pManager = nullptr;
    m_pManager.reset();
    m_list.Unbind();
    OleUninitialize();
  }

  Names Children(const Names& path) const { return ::Children(m_host.m_hTree, path); }
  HTREEITEM Item(const Names& path) const { return ::Item(m_host.m_hTree, path); }
  void Expand(const Names& path, UINT action = TVE_EXPAND) const { TreeView_Expand(m_host.m_hTree, Item(path), action); }
  // The rows, relative to the test's folder.
  Names Rows() const {
    Names rows;
    for (const std::string& text : uitest::ListColumn(m_host.hwnd(), 206, 0)) rows.push_back(text.substr(m_tree.Root().size()));
    return rows;
  }
  std::vector<std::string> Paths(const Names& names) const {
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back(m_tree.Path(name));
    return paths;
  }
  void AddRows(const Names& names) const {
    for (const std::string& path : Paths(names)) m_pManager->AddPath(path, -1);
  }

  static constexpr int kTypes[] = {DRIVE_FIXED, DRIVE_REMOVABLE, DRIVE_REMOTE};
  CHost m_host;
  const CFakeDrives m_drives;
  TempTree m_tree;
  const std::string m_strName;
  FolderTreeCtrl m_treeCtrl;
  BackupListCtrl m_list;
  std::unique_ptr<FolderTreeManager> m_pManager;
};

TEST_F(BackupPageTest, ListsFoldersOneLevelAheadOfWhatIsOpenOnceEachAndFindsThem) {
  const Names mine{"C:", m_strName};
  ASSERT_TRUE(Item(mine)) << testing::PrintToString(Children({"C:"}));
  EXPECT_TRUE(Item({"C:", "windows"}));
  EXPECT_EQ(Children(mine), Names{});
  // Opening C: lists its folders' subfolders: dot-named and system ones left out, hidden shown.
  Expand({"C:"});
  EXPECT_EQ(Children(mine), (Names{"empty", "hidden", "plain"}));
  EXPECT_EQ(Children({"C:", m_strName, "plain"}), Names{});
  Expand(mine);
  EXPECT_EQ(Children({"C:", m_strName, "plain"}), Names{"deep"});
  EXPECT_EQ(Children({"C:", m_strName, "plain", "deep"}), Names{});
  // Closed and opened again, however reported, lists nothing twice; a collapse lists nothing.
  const int nodes = m_pManager->NodeCount();
  Expand(mine, TVE_COLLAPSE);
  Expand(mine);
  for (const auto& [path, action] : std::vector<std::pair<Names, UINT>>{{mine, TVE_EXPAND}, {{"C:", m_strName, "plain"}, TVE_COLLAPSE}}) {
    NMTREEVIEWA expansion{};
    expansion.action = action;
    expansion.itemNew.hItem = Item(path);
    m_pManager->ExpandChildren(expansion);
  }
  EXPECT_EQ(m_pManager->NodeCount(), nodes);
  EXPECT_EQ(Children({"C:", m_strName, "plain"}), Names{"deep"});

  const int plain = m_pManager->FindNodeByItem(Item({"C:", m_strName, "plain"}));
  EXPECT_EQ(m_pManager->FindNodeByPath("c:\\" + m_strName + "\\PLAIN\\"), plain);
  EXPECT_EQ(m_pManager->FindNodeByPath(m_tree.Path("plain")), -1);
  EXPECT_EQ(m_pManager->GetSelectedPath(), "");
  TreeView_SelectItem(m_host.m_hTree, Item({"C:", m_strName, "plain"}));
  EXPECT_EQ(m_pManager->SelectNode(NMTREEVIEWA{}), -1);
  EXPECT_EQ(m_pManager->GetSelectedPath(), m_tree.Path("plain\\"));
}

TEST_F(BackupPageTest, DragsAFolderOntoTheListAsItsPathAndNeverADrive) {
  const std::string folder = m_tree.Root().substr(0, m_tree.Root().size() - 1);
  GlobalLockScope<char> bytes(FolderFileList(m_tree.Root()).release());
  ASSERT_GE(GlobalSize(GlobalHandle(bytes.get())), folder.size() + 41);
  EXPECT_EQ(std::string(bytes.get(), folder.size() + 22), std::string("\x14\0\0\0", 4) + std::string(16, '\0') + folder + std::string(2, '\0'));
  GlobalFree(GlobalHandle(bytes.get()));

  // Real drags in this process, dropped on the list. A drive would become a row "C:\" if it
  // were dragged.
  for (const Names& path : {Names{"C:"}, Names{"C:", m_strName}}) {
    uitest::DragOnto(m_host.m_hList, [&] {
      NMTREEVIEWA drag{};
      drag.itemNew.hItem = Item(path);
      m_treeCtrl.BeginDrag(drag);
    });
    EXPECT_EQ(TreeView_GetSelection(m_host.m_hTree), Item(path));
  }
  EXPECT_EQ(uitest::ListColumn(m_host.hwnd(), 206, 0), Names{folder});
}

struct AddCase {
  Names listed;
  std::string added;
  int entry;
  int row;  // -1: refused
  Names rows;
};

TEST_F(BackupPageTest, KeepsOneRowPerPathInUpperCasedOrder) {
  m_tree.AddFile("system.txt", 0, FILE_ATTRIBUTE_SYSTEM);
  const AddCase cases[] = {
      {{"b.txt", "plain"}, "a.txt", 7, 0, {"a.txt", "b.txt", "plain"}},
      {{"a.txt", "plain"}, "b.txt", -1, 1, {"a.txt", "b.txt", "plain"}},
      // Upper-cased, "_" sorts after the letters.
      {{"aXb.txt"}, "a_b.txt", 2, 1, {"aXb.txt", "a_b.txt"}},
      {{"plain"}, "plain\\deep", -1, 1, {"plain", "plain\\deep"}},
      {{"plain"}, "PLAIN", -1, -1, {"plain"}},
      {{"plain"}, "plain\\", -1, -1, {"plain"}},
      {{}, "missing.txt", -1, -1, {}},
      {{}, "system.txt", -1, -1, {}},
      {{}, "sys", -1, -1, {}}};
  for (const AddCase& c : cases) {
    m_pManager->ClearRows();
    AddRows(c.listed);
    EXPECT_EQ(m_pManager->CanAddPath(m_tree.Path(c.added)), c.row >= 0) << c.added;
    EXPECT_EQ(m_pManager->AddPath(m_tree.Path(c.added), c.entry), c.row) << c.added;
    EXPECT_EQ(Rows(), c.rows) << c.added;
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = c.row;
    EXPECT_EQ(ListView_GetItem(m_host.m_hList, &item) ? item.lParam : -1, c.row < 0 ? -1 : c.entry == -1 ? 0 : c.entry);
  }
  AddRows({"b.txt", "aXb.txt", "a_b.txt"});
  m_pManager->RemovePaths(Paths({"B.TXT", "missing.txt", "aXb.txt"}));
  EXPECT_EQ(Rows(), Names{"a_b.txt"});
  EXPECT_EQ(IsDirectoryPath(m_tree.Path("plain")), PathKind::Directory);
  EXPECT_EQ(IsDirectoryPath(m_tree.Path("a.txt")), PathKind::File);
  EXPECT_EQ(IsDirectoryPath(m_tree.Path("missing")), PathKind::Missing);
}

// How a drop's data carries its names.
enum class Form { Narrow, Wide, None, Unended, OutsideItsMemory };

struct DropCase {
  Names listed;
  Names dropped;
  Form form;
  DWORD effect;
  Names rows;
  std::vector<int> selected;
};

TEST_F(BackupPageTest, TakesADropWhole_OrNotAtAll) {
  const DropCase cases[] = {
      {{}, {"c.txt", "a.txt", "b.txt"}, Form::Narrow, DROPEFFECT_COPY, {"a.txt", "b.txt", "c.txt"}, {0, 1, 2}},
      {{"a.txt"}, {"plain"}, Form::Narrow, DROPEFFECT_COPY, {"a.txt", "plain"}, {1}},
      {{}, {"plain", "b.txt"}, Form::Wide, DROPEFFECT_COPY, {"b.txt", "plain"}, {0, 1}},
      {{"b.txt"}, {"a.txt", "B.txt", "c.txt"}, Form::Narrow, DROPEFFECT_NONE, {"b.txt"}, {}},
      {{}, {"a.txt", "missing.txt"}, Form::Narrow, DROPEFFECT_NONE, {}, {}},
      {{}, {"a.txt"}, Form::None, DROPEFFECT_NONE, {}, {}},
      {{}, {"a.txt"}, Form::Unended, DROPEFFECT_NONE, {}, {}},
      {{}, {"a.txt"}, Form::OutsideItsMemory, DROPEFFECT_NONE, {}, {}}};
  for (const DropCase& c : cases) {
    m_pManager->ClearRows();
    AddRows(c.listed);
    std::string bytes = uitest::FileListBytes(Paths(c.dropped), c.form == Form::Wide);
    if (c.form == Form::Unended) bytes.pop_back();
    if (c.form == Form::OutsideItsMemory) bytes[0] = '\xff';
    UniqueHglobal memory(c.form == Form::None ? nullptr : GlobalAlloc(GMEM_FIXED, bytes.size()));
    if (memory) std::copy(bytes.begin(), bytes.end(), static_cast<char*>(memory.get()));
    auto* source = new CFileDropSource(std::move(memory));
    ComPtr<IDataObject> data;
    source->InnerUnknown()->QueryInterface(IID_IDataObject, data.put_void());
    source->InnerUnknown()->Release();
    EXPECT_EQ(uitest::DropOn(m_host.m_hList, data.get()), c.effect) << c.dropped[0];
    EXPECT_EQ(Rows(), c.rows) << c.dropped[0];
    EXPECT_EQ(uitest::SelectedListRows(m_host.hwnd(), 206), c.selected) << c.dropped[0];
  }
}

TEST_F(BackupPageTest, UnbindingRevokesTheDropTargetAndGivesTheSystemImageListBack) {
  const HIMAGELIST images = ListView_GetImageList(m_host.m_hList, LVSIL_SMALL);
  const int icons = ImageList_GetImageCount(images);
  ASSERT_GT(icons, 0);
  m_list.Unbind();
  EXPECT_FALSE(GetPropA(m_host.m_hList, "OleDropTargetInterface"));
  EXPECT_FALSE(ListView_GetImageList(m_host.m_hList, LVSIL_SMALL));
  DestroyWindow(m_host.m_hList);
  EXPECT_EQ(ImageList_GetImageCount(images), icons) << "the shared list went with the window";
}

}  // namespace
