#include "backup_page/folder_tree_manager.h"

#include <shellapi.h>

#include <cstring>

#include "backup_page/backup_list_ctrl.h"
#include "backup_page/folder_tree_ctrl.h"
#include "model/backup_page_rules.h"
#include "platform/compare_no_case.h"

namespace {

class CSystemDriveList final : public CDriveList {
 public:
  DWORD LogicalDriveStrings(DWORD size, char* buffer) const override { return GetLogicalDriveStringsA(size, buffer); }
  UINT DriveType(const char* root) const override { return GetDriveTypeA(root); }
};

// Asking a drive without a medium for its type must not bring up the system's
// critical-error box.
UINT QuietDriveType(const CDriveList& drives, const char* root) {
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
  const UINT type = drives.DriveType(root);
  SetErrorMode(previous);
  return type;
}

// A small icon from the shell for `path`; null when it has none.
UniqueHicon ShellIcon(const std::string& path, UINT flags) {
  SHFILEINFOA info{};
  SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON | flags);
  return UniqueHicon(info.hIcon);
}

int AppendIcon(HIMAGELIST images, const UniqueHicon& icon) {
  return icon ? ImageList_ReplaceIcon(images, -1, icon.get()) : -1;
}

}  // namespace

const CDriveList& SystemDriveList() {
  static const CSystemDriveList drives;
  return drives;
}

FolderTreeManager::FolderTreeManager(HWND tree, HWND list, const int* driveTypes, int driveTypeCount, bool allowDrag,
                                     const CDriveList& drives)
    : m_hTree(tree), m_hList(list), m_bAllowDrag(allowDrag) {
  // Room for 30 roots of four bytes; a longer answer (the size needed) is taken as no drives.
  char roots[120] = {};
  const DWORD length = drives.LogicalDriveStrings(sizeof roots, roots);
  std::vector<std::string> kept;
  const char* const end = roots + (length < sizeof roots ? length : 0);
  for (const char* root = roots; root < end && *root; root += std::strlen(root) + 1) {
    const UINT type = QuietDriveType(drives, root);
    for (int i = 0; i < driveTypeCount; ++i) {
      if (static_cast<int>(type) == driveTypes[i]) {
        kept.emplace_back(root);
        break;
      }
    }
  }
  if (!m_bAllowDrag) SetWindowLongPtrA(m_hTree, GWL_STYLE, GetWindowLongPtrA(m_hTree, GWL_STYLE) | TVS_DISABLEDRAGDROP);

  LoadImages();
  for (const std::string& root : kept) {
    // A drive without a medium has nothing on it, not even an empty list.
    WIN32_FIND_DATAA found;
    if (!UniqueFindHandle(FindFirstFileA((root + "*").c_str(), &found))) continue;
    AddNode(root, static_cast<int>(QuietDriveType(drives, root.c_str())));
    ListSubfolders(NodeCount() - 1);
  }
}

FolderTreeManager::FolderTreeManager(FolderTreeCtrl& tree, BackupListCtrl& list, const int* driveTypes,
                                     int driveTypeCount, bool allowDrag, const CDriveList& drives)
    : FolderTreeManager(tree.hwnd(), list.hwnd(), driveTypes, driveTypeCount, allowDrag, drives) {
  m_pTreeCtrl = &tree;
  m_pListCtrl = &list;
  tree.SetManager(this);
  list.SetManager(this);
}

FolderTreeManager::~FolderTreeManager() {
  if (m_pTreeCtrl) m_pTreeCtrl->SetManager(nullptr);
  if (m_pListCtrl) m_pListCtrl->SetManager(nullptr);
  // The tree may outlive this manager for a moment; it must not paint from a destroyed list.
  if (IsWindow(m_hTree) &&
      reinterpret_cast<HIMAGELIST>(SendMessageA(m_hTree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)) == m_hImageList.get()) {
    SendMessageA(m_hTree, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
  }
  m_vNodes.clear();
}

void FolderTreeManager::LoadImages() {
  m_hImageList.reset(ImageList_Create(16, 16, ILC_COLORDDB, 0, 1));
  ImageList_SetBkColor(m_hImageList.get(), GetSysColor(COLOR_WINDOW));
  // The shell's folder icons, as it shows a real folder: the process's current one.
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, current);
  m_nClosedImage = AppendIcon(m_hImageList.get(), ShellIcon(current, 0));
  m_nOpenImage = AppendIcon(m_hImageList.get(), ShellIcon(current, SHGFI_OPENICON));
  SendMessageA(m_hTree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(m_hImageList.get()));
}

void FolderTreeManager::ListSubfolders(int index) {
  const std::string folder = m_vNodes[index].m_strPath;
  WIN32_FIND_DATAA found;
  UniqueFindHandle search(FindFirstFileA((folder + "*.*").c_str(), &found));
  if (!search) return;
  do {
    if (IsTreeFolder(found.cFileName, found.dwFileAttributes)) AddNode(folder + found.cFileName + "\\", -1);
  } while (FindNextFileA(search.get(), &found));
}

void FolderTreeManager::AddNode(const std::string& path, int driveType) {
  FolderNode node;
  node.m_nIndex = NodeCount();
  node.m_strPath = path;
  node.m_bFolder = driveType < 0;
  std::string bare = path;
  if (!bare.empty() && bare.back() == '\\') bare.pop_back();
  const size_t slash = node.m_bFolder ? bare.rfind('\\') : std::string::npos;
  node.m_strName = slash == std::string::npos ? bare : bare.substr(slash + 1);
  if (slash != std::string::npos) node.m_nParent = FindNodeByPath(bare.substr(0, slash + 1));

  if (node.m_nParent >= 0) {
    FolderNode& parent = m_vNodes[node.m_nParent];
    if (parent.m_nFirstChild < 0) {
      parent.m_nFirstChild = node.m_nIndex;
    } else {
      m_vNodes[parent.m_nLastChild].m_nNext = node.m_nIndex;
      node.m_nPrevious = parent.m_nLastChild;
    }
    parent.m_nLastChild = node.m_nIndex;
    parent.m_bListed = true;
  }

  TVINSERTSTRUCTA insert{};
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = const_cast<char*>(node.m_strName.c_str());
  if (node.m_bFolder) {
    insert.hParent = node.m_nParent >= 0 ? m_vNodes[node.m_nParent].m_hItem : TVI_ROOT;
    insert.hInsertAfter = TVI_SORT;
    insert.item.iImage = m_nClosedImage;
    insert.item.iSelectedImage = m_nOpenImage;
  } else {
    const std::string root = node.m_strName.size() == 2 ? node.m_strName + "\\" : node.m_strName;
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.iImage = insert.item.iSelectedImage = AppendIcon(m_hImageList.get(), ShellIcon(root, 0));
  }
  node.m_hItem = reinterpret_cast<HTREEITEM>(SendMessageA(m_hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));

  m_mapPathNodes.emplace(platform::UpperCase(node.m_strPath), node.m_nIndex);
  m_mapItemNodes.emplace(node.m_hItem, node.m_nIndex);
  m_vNodes.push_back(std::move(node));
}

void FolderTreeManager::ExpandChildren(const NMTREEVIEWA& notification) {
  if ((notification.action & TVE_TOGGLE) != TVE_EXPAND) return;
  const int index = FindNodeByItem(notification.itemNew.hItem);
  if (index < 0) return;
  for (int child = m_vNodes[index].m_nFirstChild; child >= 0; child = m_vNodes[child].m_nNext) {
    if (m_vNodes[child].m_bListed) continue;
    ListSubfolders(child);
    // Also when it had none or could not be read: it is not searched again.
    m_vNodes[child].m_bListed = true;
  }
}

int FolderTreeManager::FindNodeByPath(const std::string& path) const {
  const auto found = m_mapPathNodes.find(platform::UpperCase(path));
  return found == m_mapPathNodes.end() ? -1 : found->second;
}

int FolderTreeManager::FindNodeByItem(HTREEITEM item) const {
  const auto found = m_mapItemNodes.find(item);
  return found == m_mapItemNodes.end() ? -1 : found->second;
}

int FolderTreeManager::SelectNode(const NMTREEVIEWA& notification) {
  const int index = FindNodeByItem(notification.itemNew.hItem);
  if (index < 0) return -1;
  m_nSelected = index;
  return 0;
}

std::string FolderTreeManager::GetSelectedPath() const {
  return m_nSelected >= 0 ? m_vNodes[m_nSelected].m_strPath : std::string();
}
