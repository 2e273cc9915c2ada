#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/win32/unique_handles.h"

class FolderTreeManager;

// The CF_HDROP file list a folder node offers: the DROPFILES header (list at offset 20, point
// 0,0, client area, 8-bit names), the node's path without its trailing backslash, and zeros
// behind it so the list ends with two. Sized for the path with the backslash, plus 40 bytes.
UniqueHglobal FolderFileList(const std::string& nodePath);

// The backup page's tree view wrapper: starts the drag of a folder node towards the backup
// list. The manager sets its reference while it lives; the wrapper must outlive the manager.
class FolderTreeCtrl {
 public:
  FolderTreeCtrl() = default;
  FolderTreeCtrl(const FolderTreeCtrl&) = delete;
  FolderTreeCtrl& operator=(const FolderTreeCtrl&) = delete;

  void Bind(HWND tree) { m_hWnd = tree; }
  void Unbind() { m_hWnd = nullptr; }
  HWND hwnd() const { return m_hWnd; }
  void SetManager(FolderTreeManager* manager) { m_pManager = manager; }

  // TVN_BEGINDRAG (the notification's answer is 0): selects the dragged item and, for a
  // folder, runs an OLE drag whose data offers the folder as a CF_HDROP file list, its path
  // without the trailing backslash. Drives are not dragged. Returns once the drag is over.
  void BeginDrag(const NMTREEVIEWA& notification);

 private:
  HWND m_hWnd = nullptr;
  FolderTreeManager* m_pManager = nullptr;
};
