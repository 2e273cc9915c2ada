#include "backup_page/backup_list_ctrl.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "backup_page/folder_tree_manager.h"
#include "model/backup_page_rules.h"
#include "platform/win32/unique_handles.h"
#include "ui/controls.h"

namespace {

// Whether a file list's names start inside its block and end there with an empty name, so
// DragQueryFileA, which trusts the block, reads nothing beyond it.
bool IsWholeFileList(const unsigned char* bytes, SIZE_T size) {
  DROPFILES header;
  if (size < sizeof header) return false;
  std::memcpy(&header, bytes, sizeof header);
  const SIZE_T unit = header.fWide ? 2 : 1;
  bool nameStart = true;
  for (SIZE_T at = header.pFiles; at + unit <= size; at += unit) {
    const bool zero = bytes[at] == 0 && (unit == 1 || bytes[at + 1] == 0);
    if (zero && nameStart) return true;
    nameStart = zero;
  }
  return false;
}

std::string RowText(HWND list, int row) {
  char text[1024] = {};
  LVITEMA item{};
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

int RowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

// Where a row with `key` stands or would go.
int RowPlace(HWND list, const std::string& key) {
  const auto keyAt = [list](size_t row) { return RowKey(RowText(list, static_cast<int>(row))); };
  return static_cast<int>(RowPosition(RowCount(list), keyAt, key));
}

// The row showing `path` ignoring case, or -1.
int FindRow(HWND list, const std::string& path) {
  const std::string key = RowKey(path);
  const int row = RowPlace(list, key);
  return row < RowCount(list) && RowKey(RowText(list, row)) == key ? row : -1;
}

}  // namespace

PathKind IsDirectoryPath(const std::string& path) {
  WIN32_FIND_DATAA found;
  const UniqueFindHandle search(FindFirstFileA(ProbePattern(path).c_str(), &found));
  if (!search) return PathKind::Missing;
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Directory : PathKind::File;
}

bool ReadDroppedPaths(IDataObject* data, std::vector<std::string>& paths) {
  FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (!data || FAILED(data->GetData(&format, &medium))) return false;
  bool offered = false;
  if (medium.tymed == TYMED_HGLOBAL) {
    const GlobalLockScope<unsigned char> bytes(medium.hGlobal);
    offered = bytes.get() && IsWholeFileList(bytes.get(), GlobalSize(medium.hGlobal));
  }
  if (offered) {
    const auto drop = static_cast<HDROP>(medium.hGlobal);
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      char name[MAX_PATH] = {};
      if (DragQueryFileA(drop, i, name, MAX_PATH)) paths.emplace_back(name);
    }
  }
  ReleaseStgMedium(&medium);
  return offered;
}

// The drop target

STDMETHODIMP BackupListDropTarget::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget) ? static_cast<IDropTarget*>(this) : nullptr;
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP BackupListDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  if (!effect) return E_POINTER;
  std::vector<std::string> paths;
  m_bFileList = ReadDroppedPaths(data, paths);
  const FolderTreeManager* manager = m_rList.Manager();
  bool accepted = m_bFileList && manager;
  for (size_t i = 0; accepted && i < paths.size(); ++i) accepted = manager->CanAddPath(paths[i]);
  m_nEffect = accepted ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  *effect = m_nEffect;
  return S_OK;
}

STDMETHODIMP BackupListDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  if (!effect) return E_POINTER;
  *effect = m_bFileList ? m_nEffect : DROPEFFECT_NONE;
  return S_OK;
}

STDMETHODIMP BackupListDropTarget::DragLeave() {
  m_bFileList = false;
  m_nEffect = DROPEFFECT_NONE;
  return S_OK;
}

STDMETHODIMP BackupListDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  if (!effect) return E_POINTER;
  FolderTreeManager* manager = m_rList.Manager();
  *effect = manager && manager->DropPaths(data) ? m_nEffect : DROPEFFECT_NONE;
  DragLeave();
  return S_OK;
}

// The list wrapper

void BackupListCtrl::Bind(HWND list) {
  m_hWnd = list;
  SHFILEINFOA info{};
  const auto images = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (images && !m_bSystemImages) {
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    m_bSystemImages = true;
  }
  RegisterDragDrop(list, &m_dropTarget);
}

void BackupListCtrl::Unbind() {
  if (!m_hWnd) return;
  RevokeDragDrop(m_hWnd);
  if (m_bSystemImages) SendMessageA(m_hWnd, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
  m_bSystemImages = false;
  m_hWnd = nullptr;
}

// The row operations of the manager, on its list window

bool FolderTreeManager::CanAddPath(const std::string& path) const {
  if (!m_hList) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY))) return false;
  std::string bare = path;
  if (!bare.empty() && bare.back() == '\\') bare.pop_back();
  return FindRow(m_hList, bare) < 0;
}

int FolderTreeManager::AddPath(const std::string& path, int entryIndex) {
  if (!CanAddPath(path)) return -1;
  SHFILEINFOA info{};
  SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = RowPlace(m_hList, RowKey(path));
  item.pszText = const_cast<char*>(path.c_str());
  item.iImage = info.iIcon;
  const int row = static_cast<int>(SendMessageA(m_hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return -1;
  if (entryIndex != -1) ui::SetListRowData(m_hList, row, entryIndex);
  SendMessageA(m_hList, LVM_REDRAWITEMS, row, row);
  UpdateWindow(m_hList);
  return row;
}

void FolderTreeManager::RemovePaths(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    const int row = m_hList ? FindRow(m_hList, path) : -1;
    if (row >= 0) SendMessageA(m_hList, LVM_DELETEITEM, row, 0);
  }
}

void FolderTreeManager::ClearRows() { SendMessageA(m_hList, LVM_DELETEALLITEMS, 0, 0); }

bool FolderTreeManager::DropPaths(IDataObject* data) {
  std::vector<std::string> paths;
  if (!ReadDroppedPaths(data, paths)) return false;
  for (const std::string& path : paths) {
    const int row = AddPath(path, -1);
    if (row < 0) continue;
    // Selecting the row reports its change, which gives it its defaults on the page.
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageA(m_hList, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  }
  return true;
}
