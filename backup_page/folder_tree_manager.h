#pragma once
// The model of the drive and folder tree: a table of nodes, one per drive or folder shown, the
// tree's image list, and (on the backup page) the rows of the backup list. Both pages use it:
// the page creates it in WM_INITDIALOG, after the tree exists, and destroys it in WM_DESTROY.
//
// Folders are listed one level ahead of what is open: the drives' first level at construction,
// the subfolders of an opened node's children at each expansion, so every visible folder
// already has its expand button exactly when it has a folder to show. Nodes are only added.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "backup_page/drive_list.h"
#include "platform/win32/unique_handles.h"

// The drives both pages show: fixed, removable and remote, in that order of preference.
inline constexpr int kPageDriveTypes[] = {DRIVE_FIXED, DRIVE_REMOVABLE, DRIVE_REMOTE};

class BackupListCtrl;
class FolderTreeCtrl;

struct FolderNode {
  int m_nIndex = -1;
  int m_nParent = -1;       // -1 for a drive
  int m_nPrevious = -1;     // sibling before it under the same parent
  int m_nNext = -1;
  int m_nFirstChild = -1;
  int m_nLastChild = -1;    // the end of the children's chain, so adding a child is one step
  std::string m_strPath;    // "C:\" for a drive, "C:\Windows\" for a folder
  std::string m_strName;    // the text shown: "C:", "Windows"
  bool m_bListed = false;   // subfolders put into the table (or at least one child added)
  bool m_bFolder = false;
  HTREEITEM m_hItem = nullptr;
};

class FolderTreeManager {
 public:
  // Fills `tree` with the drives of the wanted types (GetDriveTypeA values; the roots keep the
  // system's order) that are ready, and their first level of folders. `list` is the backup
  // list, or null on the restore page. Without `allowDrag` the tree gets TVS_DISABLEDRAGDROP.
  FolderTreeManager(HWND tree, HWND list, const int* driveTypes, int driveTypeCount, bool allowDrag,
                    const CDriveList& drives = SystemDriveList());
  // The backup page: as above, and its tree and list wrappers (bound already) hold a reference
  // to this manager until it goes; they must outlive it.
  FolderTreeManager(FolderTreeCtrl& tree, BackupListCtrl& list, const int* driveTypes, int driveTypeCount,
                    bool allowDrag, const CDriveList& drives = SystemDriveList());
  // Empties the node table and destroys the image list (taken from the tree first).
  ~FolderTreeManager();
  FolderTreeManager(const FolderTreeManager&) = delete;
  FolderTreeManager& operator=(const FolderTreeManager&) = delete;

  // Appends a node for `path` ("C:\" or "C:\Data\", trailing backslash) and its tree item: a
  // drive when `driveType` is a GetDriveTypeA value, a folder when it is negative. A folder
  // goes under the node of its parent folder (at the top when the table has none).
  void AddNode(const std::string& path, int driveType);
  // TVN_ITEMEXPANDED: on an expansion, lists the subfolders of the item's children not listed
  // yet. A collapse does nothing.
  void ExpandChildren(const NMTREEVIEWA& notification);
  // The first node whose path equals `path` ignoring case, or -1.
  int FindNodeByPath(const std::string& path) const;
  // The first node shown by `item`, or -1.
  int FindNodeByItem(HTREEITEM item) const;
  // TVN_SELCHANGED: remembers the new item's node. 0 when it was found, -1 otherwise.
  int SelectNode(const NMTREEVIEWA& notification);
  // The remembered node's path, with its trailing backslash; empty before a node was selected.
  std::string GetSelectedPath() const;

  int NodeCount() const { return static_cast<int>(m_vNodes.size()); }
  const FolderNode& Node(int index) const { return m_vNodes[index]; }

  // The rows of the backup list: one per path (compared ignoring case), in ascending order of
  // the upper-cased paths. Column 0 is the path as added, the item data the entry index.
  //
  // A path may become a row when it exists, is neither system nor temporary, and no row shows
  // it (one trailing backslash aside). Nesting is no reason to refuse.
  bool CanAddPath(const std::string& path) const;
  // Inserts the row in order with the path's system icon, its item data `entryIndex` unless
  // that is -1 (then 0, until the page gives the row its defaults). The new row, or -1 when
  // refused.
  int AddPath(const std::string& path, int entryIndex);
  // Deletes the rows showing these paths (ignoring case); the page's entries are untouched.
  void RemovePaths(const std::vector<std::string>& paths);
  void ClearRows();
  // Adds the paths of the data's CF_HDROP file list that may become rows, each row selected.
  // False when the data offers no file list.
  bool DropPaths(IDataObject* data);

 private:
  void LoadImages();
  // AddNode for every folder the tree shows among the subfolders of node `index`.
  void ListSubfolders(int index);

  HWND m_hTree;
  HWND m_hList;
  bool m_bAllowDrag;
  std::vector<FolderNode> m_vNodes;
  // Lookups answer as a scan of the table from the start would: the first node of each
  // upper-cased path and of each item handle. A scan per added folder would make listing a
  // folder of n subfolders take n * table-size comparisons.
  std::unordered_map<std::string, int> m_mapPathNodes;
  std::unordered_map<HTREEITEM, int> m_mapItemNodes;
  UniqueHimagelist m_hImageList;
  int m_nClosedImage = -1;
  int m_nOpenImage = -1;
  int m_nSelected = -1;
  FolderTreeCtrl* m_pTreeCtrl = nullptr;
  BackupListCtrl* m_pListCtrl = nullptr;
};
