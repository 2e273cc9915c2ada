#include <gtest/gtest.h>
#include <ole2.h>

#include <map>
#include <string>
#include <vector>

#include "backup_page/folder_tree_manager.h"
#include "tests/backup_page/tree_list_host.h"
#include "tests/support/temp_tree.h"

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

}  // namespace
