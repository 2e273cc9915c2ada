// Under Wine: expanding a folder of the drive and folder tree whose children hold many folders
// (FolderTreeManager::ExpandChildren), against the work it cannot avoid, measured in the same
// run: FindFirstFileA over the same folders and a TVM_INSERTITEM of each name found under the
// same parents with the same flags (TVI_SORT). Runs alternate; prints wall-clock medians and
// their ratio, and what the table scans the lookups replace would have cost.
#include <windows.h>
#include <commctrl.h>
#include <mbstring.h>

#include <cstdio>
#include <string>
#include <vector>

#include "backup_page/folder_tree_manager.h"
#include "bench/wine_bench.h"
#include "ui/window.h"

namespace {

class CNoDrives final : public CDriveList {
 public:
  DWORD LogicalDriveStrings(DWORD, char* buffer) const override {
    buffer[0] = '\0';
    return 0;
  }
  UINT DriveType(const char*) const override { return DRIVE_NO_ROOT_DIR; }
};

HWND NewTree() {
  return CreateWindowExA(0, WC_TREEVIEWA, "tree", WS_OVERLAPPEDWINDOW | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES,
                         0, 0, 400, 600, nullptr, nullptr, nullptr, nullptr);
}

// Two folder images, as the manager gives its tree.
UniqueHimagelist FolderImages(HWND tree) {
  UniqueHimagelist images(ImageList_Create(16, 16, ILC_COLORDDB, 0, 1));
  for (int i = 0; i < 2; ++i) ImageList_ReplaceIcon(images.get(), -1, LoadIcon(nullptr, IDI_APPLICATION));
  SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images.get()));
  return images;
}

HTREEITEM Insert(HWND tree, HTREEITEM parent, const char* name) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_SORT;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = const_cast<char*>(name);
  insert.item.iImage = 0;
  insert.item.iSelectedImage = 1;
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

// The subfolder names of `folder` in the platform's order, "." and ".." left out.
std::vector<std::string> Subfolders(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.') names.emplace_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

NMTREEVIEWA Expansion(HTREEITEM item) {
  NMTREEVIEWA notification{};
  notification.hdr.code = TVN_ITEMEXPANDEDA;
  notification.action = TVE_EXPAND;
  notification.itemNew.hItem = item;
  return notification;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder;
  int runs = 0;
  if (!ReadFolderAndRuns(argc, argv, "wine_tree_bench FOLDER [RUNS]", folder, runs)) return 2;
  const std::string parent = folder.substr(0, folder.find_last_of('\\', folder.size() - 2) + 1);
  const std::vector<std::string> children = Subfolders(folder);
  ui::EnsureCommonControls();
  const CNoDrives drives;
  const int types[] = {DRIVE_FIXED};

  std::vector<double> enumerated, bare, expanded, ratios;
  size_t found = 0;
  int nodes = 0;
  double scans = 0;
  for (int run = 0; run <= runs; ++run) {  // the first round only warms the caches
    const double enumeration = Seconds([&] {
      for (const std::string& child : children) Subfolders(folder + child + "\\");
    });
    if (run > 0) enumerated.push_back(enumeration);
    {
      const HWND tree = NewTree();
      const UniqueHimagelist images = FolderImages(tree);
      const HTREEITEM top = Insert(tree, TVI_ROOT, "folder");
      std::vector<HTREEITEM> items;
      for (const std::string& child : children) items.push_back(Insert(tree, top, child.c_str()));
      const double seconds = Seconds([&] {
        found = 0;
        for (size_t i = 0; i < children.size(); ++i) {
          for (const std::string& name : Subfolders(folder + children[i] + "\\")) {
            Insert(tree, items[i], name.c_str());
            ++found;
          }
        }
      });
      if (run > 0) bare.push_back(seconds);
      DestroyWindow(tree);
    }
    {
      const HWND tree = NewTree();
      {
        // The folder under its parent, its children listed as opening the parent lists them.
        FolderTreeManager manager(tree, nullptr, types, 1, false, drives);
        manager.AddNode(parent, -1);
        manager.AddNode(folder, -1);
        manager.ExpandChildren(Expansion(manager.Node(0).m_hItem));
        const HTREEITEM item = manager.Node(1).m_hItem;
        const double seconds = Seconds([&] { manager.ExpandChildren(Expansion(item)); });
        if (run > 0) {
          expanded.push_back(seconds);
          ratios.push_back(seconds / bare.back());
        }
        nodes = manager.NodeCount();
        if (run == runs) {
          // What finding each added folder's parent by a first-match scan of the table would
          // have cost: the scans of a sample of the added folders, scaled to all of them.
          const int first = nodes - static_cast<int>(found);
          const int samples = 500;
          scans = Seconds([&] {
            for (int s = 0; s < samples; ++s) {
              const FolderNode& added = manager.Node(first + s * (static_cast<int>(found) / samples));
              const auto* wanted = reinterpret_cast<const unsigned char*>(manager.Node(added.m_nParent).m_strPath.c_str());
              for (int i = 0; i < nodes; ++i) {
                if (_mbsicmp(reinterpret_cast<const unsigned char*>(manager.Node(i).m_strPath.c_str()), wanted) == 0) break;
              }
            }
          }) / samples * static_cast<double>(found);
        }
      }
      DestroyWindow(tree);
    }
  }
  std::printf("folder: %zu children holding %zu folders; table of %d nodes\n", children.size(), found, nodes);
  std::printf("FindFirstFileA alone:                       median %.3f s over %d runs\n", Median(enumerated), runs);
  std::printf("FindFirstFileA + TVM_INSERTITEM (TVI_SORT): median %.3f s over %d runs\n", Median(bare), runs);
  std::printf("ExpandChildren:                             median %.3f s over %d runs\n", Median(expanded), runs);
  std::printf("ExpandChildren: %.2fx the enumeration and insertion (median of the rounds' ratios %.2fx)\n",
              Median(expanded) / Median(bare), Median(ratios));
  std::printf("not used: a first-match table scan per added folder would add about %.1f s "
              "(%.1fx the enumeration and insertion)\n",
              scans,
              scans / Median(bare));
  return 0;
}
