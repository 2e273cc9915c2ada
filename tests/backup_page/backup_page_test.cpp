// The drive and folder tree over drives the test chooses, which the page in a real container
// (tests/pages) cannot show: a tree view of the test's own, filled by the page's manager.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backup_page/folder_tree_manager.h"
#include "ui/window.h"

namespace {

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

TEST(TreeDrivesTest, ShowsReadyDrivesOfTheWantedTypesInTheSystemsOrder) {
  const struct {
    Drives drives;
    std::vector<int> wanted;
    std::vector<std::string> shown;
  } cases[] = {
      // A floppy without a disk, the fixed disk, a CD-ROM and a network drive.
      {{{"A:\\", DRIVE_REMOVABLE}, {"C:\\", DRIVE_FIXED}, {"D:\\", DRIVE_CDROM}, {"Z:\\", DRIVE_REMOTE}},
       {3, 2, 4},
       {"C:", "Z:"}},
      {{{"Z:\\", DRIVE_REMOTE}, {"C:\\", DRIVE_FIXED}}, {3, 2, 4}, {"Z:", "C:"}},
      {{{"C:\\", DRIVE_RAMDISK}, {"Z:\\", DRIVE_REMOVABLE}}, {2}, {"Z:"}},
      {{}, {3}, {}}};
  ui::EnsureCommonControls();
  for (const auto& c : cases) {
    const HWND tree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_POPUP, 0, 0, 250, 400, nullptr, nullptr, nullptr,
                                      nullptr);
    const CFakeDrives drives(c.drives);
    {
      const FolderTreeManager manager(tree, nullptr, c.wanted.data(), static_cast<int>(c.wanted.size()), false, drives);
      std::vector<std::string> shown;
      for (HTREEITEM item = TreeView_GetRoot(tree); item; item = TreeView_GetNextSibling(tree, item)) {
        char text[MAX_PATH] = {};
        TVITEMA data{};
        data.mask = TVIF_TEXT;
        data.hItem = item;
        data.pszText = text;
        data.cchTextMax = MAX_PATH;
        TreeView_GetItem(tree, &data);
        shown.emplace_back(text);
      }
      EXPECT_EQ(shown, c.shown);
      // Two folder images, then one per drive.
      const int images = ImageList_GetImageCount(TreeView_GetImageList(tree, TVSIL_NORMAL));
      EXPECT_EQ(images, 2 + static_cast<int>(shown.size()));
      EXPECT_TRUE(GetWindowLongPtrA(tree, GWL_STYLE) & TVS_DISABLEDRAGDROP);
    }
    EXPECT_FALSE(TreeView_GetImageList(tree, TVSIL_NORMAL)) << "the tree keeps the destroyed image list";
    DestroyWindow(tree);
  }
}

}  // namespace
