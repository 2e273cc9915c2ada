#include <gtest/gtest.h>
#include <ole2.h>

#include <map>
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

// The drives a test wants the tree to see, in the system's order. The roots stay real paths:
// a root that does not exist in the prefix (A:) stands for a drive without a medium.
class CFakeDrives final : public CDriveList {
 public:
  explicit CFakeDrives(std::vector<std::pair<std::string, UINT>> drives) : m_vDrives(std::move(drives)) {}
  DWORD LogicalDriveStrings(DWORD size, char* buffer) const override {
    std::string all;
    for (const auto& drive : m_vDrives) all += drive.first + '\0';
    if (all.size() + 1 > size) return static_cast<DWORD>(all.size() + 1);
    std::copy(all.begin(), all.end(), buffer);
    buffer[all.size()] = '\0';
    return static_cast<DWORD>(all.size());
  }
  UINT DriveType(const char* root) const override {
    for (const auto& drive : m_vDrives) {
      if (drive.first == root) return drive.second;
    }
    return DRIVE_NO_ROOT_DIR;
  }

 private:
  std::vector<std::pair<std::string, UINT>> m_vDrives;
};

const int kPageDriveTypes[] = {DRIVE_FIXED, DRIVE_REMOVABLE, DRIVE_REMOTE};

NMTREEVIEWA Expansion(HTREEITEM item, UINT action) {
  NMTREEVIEWA notification{};
  notification.hdr.code = TVN_ITEMEXPANDEDA;
  notification.action = action;
  notification.itemNew.hItem = item;
  return notification;
}

int ImageOf(HWND tree, HTREEITEM item, bool selected) {
  TVITEMA data{};
  data.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  data.hItem = item;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  return selected ? data.iSelectedImage : data.iImage;
}

struct DriveCase {
  const char* name;
  std::vector<std::pair<std::string, UINT>> drives;
  std::vector<int> wanted;
  Names shown;
};

class TreeDrivesTest : public testing::TestWithParam<DriveCase> {};

TEST_P(TreeDrivesTest, ShowsReadyDrivesOfTheWantedTypesInTheSystemsOrder) {
  CTreeListHost host;
  const CFakeDrives drives(GetParam().drives);
  {
    const FolderTreeManager manager(host.Tree(), nullptr, GetParam().wanted.data(),
                                    static_cast<int>(GetParam().wanted.size()), false, drives);
    EXPECT_EQ(ChildNames(host.Tree(), TVI_ROOT), GetParam().shown);
    // Two folder icons, then one per drive shown.
    EXPECT_EQ(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(SendMessageA(host.Tree(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0))),
              2 + static_cast<int>(GetParam().shown.size()));
    EXPECT_TRUE(GetWindowLongPtrA(host.Tree(), GWL_STYLE) & TVS_DISABLEDRAGDROP);
  }
  EXPECT_EQ(SendMessageA(host.Tree(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0), 0) << "the destroyed image list stays in the tree";
}

INSTANTIATE_TEST_SUITE_P(
    Drives, TreeDrivesTest,
    testing::Values(
        // A floppy without a disk, the fixed disk, a CD-ROM and a network drive.
        DriveCase{"FloppyDiskCdNetwork", {{"A:\\", DRIVE_REMOVABLE}, {"C:\\", DRIVE_FIXED}, {"D:\\", DRIVE_CDROM}, {"Z:\\", DRIVE_REMOTE}},
                  {DRIVE_FIXED, DRIVE_REMOVABLE, DRIVE_REMOTE}, {"C:", "Z:"}},
        DriveCase{"SystemOrderNotTypeOrder", {{"Z:\\", DRIVE_REMOTE}, {"C:\\", DRIVE_FIXED}},
                  {DRIVE_FIXED, DRIVE_REMOVABLE, DRIVE_REMOTE}, {"Z:", "C:"}},
        DriveCase{"RamDiskAndUnknownLeftOut", {{"C:\\", DRIVE_RAMDISK}, {"Z:\\", DRIVE_UNKNOWN}},
                  {DRIVE_FIXED, DRIVE_REMOVABLE, DRIVE_REMOTE}, {}},
        DriveCase{"OnlyTheWantedType", {{"C:\\", DRIVE_REMOVABLE}, {"Z:\\", DRIVE_FIXED}}, {DRIVE_REMOVABLE}, {"C:"}},
        DriveCase{"NoDrives", {}, {DRIVE_FIXED}, {}}),
    [](const testing::TestParamInfo<DriveCase>& info) { return std::string(info.param.name); });

// A folder of the test's own on drive C:, so that the drive's first level holds it:
//   .dot\x  sys\x (system)  hidden\inner (hidden)  plain\deep\deeper  empty\  file.txt
class FolderTreeTest : public testing::Test {
 protected:
  FolderTreeTest()
      : m_drives({{"C:\\", DRIVE_FIXED}}),
        m_tree("C:\\"),
        m_strName(m_tree.Root().substr(3, m_tree.Root().size() - 4)) {
    for (const char* folder : {".dot\\x", "sys\\x", "hidden\\inner", "plain\\deep\\deeper", "empty"}) m_tree.AddFolder(folder);
    m_tree.AddFile("file.txt", 0);
    SetFileAttributesA(m_tree.Path("sys").c_str(), FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA(m_tree.Path("hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  }

  HTREEITEM Item(const Names& path) const {
    HTREEITEM item = TVI_ROOT;
    for (const std::string& name : path) item = item ? ChildItem(m_host.Tree(), item, name) : nullptr;
    return item;
  }
  Names Children(const Names& path) const { return ChildNames(m_host.Tree(), Item(path)); }
  void Expand(const Names& path, UINT action = TVE_EXPAND) const {
    SendMessageA(m_host.Tree(), TVM_EXPAND, action, reinterpret_cast<LPARAM>(Item(path)));
  }

  CTreeListHost m_host;
  const CFakeDrives m_drives;
  TempTree m_tree;
  const std::string m_strName;
};

TEST_F(FolderTreeTest, ListsTheDrivesFirstLevelAtOnceAndEachFurtherLevelOneAheadOfWhatIsOpen) {
  FolderTreeManager manager(m_host.Tree(), m_host.List(), kPageDriveTypes, 3, true, m_drives);
  m_host.SetManager(&manager);
  EXPECT_FALSE(GetWindowLongPtrA(m_host.Tree(), GWL_STYLE) & TVS_DISABLEDRAGDROP);
  const Names mine{"C:", m_strName};
  ASSERT_TRUE(Item(mine)) << "C: shows " << testing::PrintToString(Children({"C:"}));
  EXPECT_TRUE(Item({"C:", "windows"}));
  EXPECT_EQ(Children(mine), Names{});
  EXPECT_EQ(ImageOf(m_host.Tree(), Item(mine), false), 0);
  EXPECT_EQ(ImageOf(m_host.Tree(), Item(mine), true), 1);
  EXPECT_EQ(ImageOf(m_host.Tree(), Item({"C:"}), false), 2);

  // Opening C: lists the subfolders of its folders: the dot-named and the system folder are
  // left out, the hidden one is shown; nothing deeper yet.
  Expand({"C:"});
  EXPECT_EQ(Children(mine), (Names{"empty", "hidden", "plain"}));
  EXPECT_EQ(Children({"C:", m_strName, "plain"}), Names{});

  Expand(mine);
  EXPECT_EQ(Children({"C:", m_strName, "plain"}), Names{"deep"});
  EXPECT_EQ(Children({"C:", m_strName, "hidden"}), Names{"inner"});
  EXPECT_EQ(Children({"C:", m_strName, "plain", "deep"}), Names{});

  // Closing and opening again lists nothing twice, however the expansion is reported; a
  // collapse lists nothing.
  const int nodes = manager.NodeCount();
  Expand(mine, TVE_COLLAPSE);
  Expand(mine);
  manager.ExpandChildren(Expansion(Item(mine), TVE_EXPAND));
  manager.ExpandChildren(Expansion(Item({"C:"}), TVE_EXPAND));
  manager.ExpandChildren(Expansion(Item({"C:", m_strName, "plain"}), TVE_COLLAPSE));
  EXPECT_EQ(manager.NodeCount(), nodes);
  EXPECT_EQ(Children(mine), (Names{"empty", "hidden", "plain"}));
  EXPECT_EQ(Children({"C:", m_strName, "plain"}), Names{"deep"});
  EXPECT_EQ(Children({"C:", m_strName, "plain", "deep"}), Names{});
}

TEST_F(FolderTreeTest, FindsNodesByPathIgnoringCaseAndByItemAndRemembersTheSelection) {
  FolderTreeManager manager(m_host.Tree(), nullptr, kPageDriveTypes, 3, false, m_drives);
  m_host.SetManager(&manager);
  Expand({"C:"});
  const HTREEITEM plain = Item({"C:", m_strName, "plain"});
  const int node = manager.FindNodeByItem(plain);
  ASSERT_GE(node, 0);
  EXPECT_EQ(manager.Node(node).m_strPath, m_tree.Path("plain\\"));
  EXPECT_EQ(manager.Node(node).m_strName, "plain");
  EXPECT_TRUE(manager.Node(node).m_bFolder);
  EXPECT_EQ(manager.Node(manager.Node(node).m_nParent).m_strName, m_strName);

  const std::map<std::string, int> lookups{{m_tree.Path("plain\\"), node},
                                           {"c:\\" + m_strName + "\\PLAIN\\", node},
                                           {m_tree.Path("plain"), -1},
                                           {"c:\\", manager.FindNodeByItem(Item({"C:"}))},
                                           {m_tree.Path("sys\\"), -1}};
  for (const auto& [path, expected] : lookups) EXPECT_EQ(manager.FindNodeByPath(path), expected) << path;
  EXPECT_EQ(manager.FindNodeByItem(nullptr), -1);

  EXPECT_EQ(manager.GetSelectedPath(), "");
  SendMessageA(m_host.Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(plain));
  EXPECT_EQ(manager.GetSelectedPath(), m_tree.Path("plain\\"));
  NMTREEVIEWA unknown{};
  EXPECT_EQ(manager.SelectNode(unknown), -1);
  EXPECT_EQ(manager.GetSelectedPath(), m_tree.Path("plain\\"));
  SendMessageA(m_host.Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Item({"C:"})));
  EXPECT_EQ(manager.GetSelectedPath(), "C:\\");
}

// The left button as OLE's drag loop reads it (the thread's key state): held while a test drags.
void HoldLeftButton(bool held) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_LBUTTON] = held ? 0x80 : 0;
  SetKeyboardState(keys);
}

void CALLBACK LetGo(HWND, UINT, UINT_PTR, DWORD) { HoldLeftButton(false); }

// Drags `item` of the tree with the cursor at `point`; the button is let go after `holdMs`
// at the latest, which drops on whatever is under the cursor.
void DragTreeItem(FolderTreeCtrl& tree, HTREEITEM item, POINT point, UINT holdMs) {
  SetCursorPos(point.x, point.y);
  HoldLeftButton(true);
  const UINT_PTR timer = SetTimer(nullptr, 0, holdMs, &LetGo);
  NMTREEVIEWA notification{};
  notification.hdr.code = TVN_BEGINDRAGA;
  notification.itemNew.hItem = item;
  tree.BeginDrag(notification);
  KillTimer(nullptr, timer);
  HoldLeftButton(false);
}

POINT Centre(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// A window that takes every drop and keeps the CF_HDROP bytes it was offered; entering, it
// lets the button go, so the drag drops on it.
class CDropRecorder final : public ui::CWindow, public IDropTarget {
 public:
  CDropRecorder() {
    Create("BkQnDropRecorder", "", WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST, RECT{700, 100, 900, 300}, nullptr);
    RegisterDragDrop(hwnd(), this);
  }
  ~CDropRecorder() override { RevokeDragDrop(hwnd()); }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget) ? static_cast<IDropTarget*>(this) : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    ++m_nEntered;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (SUCCEEDED(data->GetData(&format, &medium))) {
      m_strBytes.assign(static_cast<const char*>(GlobalLock(medium.hGlobal)), GlobalSize(medium.hGlobal));
      GlobalUnlock(medium.hGlobal);
      ReleaseStgMedium(&medium);
    }
    *effect = DROPEFFECT_COPY;
    HoldLeftButton(false);
    return S_OK;
  }
  STDMETHODIMP DragOver(DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  STDMETHODIMP DragLeave() override { return S_OK; }
  STDMETHODIMP Drop(IDataObject*, DWORD, POINTL, DWORD* effect) override {
    ++m_nDropped;
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }

  int m_nEntered = 0;
  int m_nDropped = 0;
  std::string m_strBytes;

 protected:
  ui::MessageResult OnMessage(UINT, WPARAM, LPARAM) override { return ui::NotHandled(); }
};

TEST_F(FolderTreeTest, DragsAFolderAsAFileListOfItsPathWithoutTheBackslashAndNeverADrive) {
  OleInitialize(nullptr);
  FolderTreeCtrl treeCtrl;
  BackupListCtrl listCtrl;
  treeCtrl.Bind(m_host.Tree());
  listCtrl.Bind(m_host.List());
  {
    FolderTreeManager manager(treeCtrl, listCtrl, kPageDriveTypes, 3, true, m_drives);
    CDropRecorder recorder;
    DragTreeItem(treeCtrl, Item({"C:"}), Centre(recorder.hwnd()), 3000);
    EXPECT_EQ(recorder.m_nEntered, 0);
    EXPECT_EQ(SendMessageA(m_host.Tree(), TVM_GETNEXTITEM, TVGN_CARET, 0), reinterpret_cast<LRESULT>(Item({"C:"})));

    DragTreeItem(treeCtrl, Item({"C:", m_strName}), Centre(recorder.hwnd()), 3000);
    EXPECT_EQ(recorder.m_nDropped, 1);
    const std::string path = m_tree.Root().substr(0, m_tree.Root().size() - 1);
    const std::string& bytes = recorder.m_strBytes;
    ASSERT_GE(bytes.size(), path.size() + 40);
    // DROPFILES: the list at offset 20, point (0,0), client area, 8-bit names.
    EXPECT_EQ(bytes.substr(0, 20), std::string("\x14\0\0\0", 4) + std::string(16, '\0'));
    EXPECT_EQ(bytes.substr(20, path.size() + 2), path + std::string(2, '\0'));
    EXPECT_EQ(SendMessageA(m_host.Tree(), TVM_GETNEXTITEM, TVGN_CARET, 0), reinterpret_cast<LRESULT>(Item({"C:", m_strName})));

    // Onto the backup list, in the same process: a row of its own.
    DragTreeItem(treeCtrl, Item({"C:", m_strName}), Centre(m_host.List()), 300);
    EXPECT_EQ(uitest::ListColumn(m_host.hwnd(), 206, 0), Names{path});
  }
  listCtrl.Unbind();
  OleUninitialize();
}

}  // namespace
