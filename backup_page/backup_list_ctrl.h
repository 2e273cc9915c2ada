#pragma once
// The backup list's window wrapper and its drop target. The rows themselves are kept by the
// row operations of FolderTreeManager (CanAddPath, AddPath, RemovePaths, ClearRows,
// DropPaths), which the manager runs on the list window.
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

class BackupListCtrl;
class FolderTreeManager;

// What IsDirectoryPath found at a path.
enum class PathKind { Missing, File, Directory };

// Whether `path` exists and is a folder, from the first entry a search for it finds (a network
// path is searched for its contents: ProbePattern).
PathKind IsDirectoryPath(const std::string& path);

// The paths of a CF_HDROP file list in `data`; false when it offers none or a malformed one.
bool ReadDroppedPaths(IDataObject* data, std::vector<std::string>& paths);

// A drop is all or nothing, decided when the drag enters: copy when the data offers a file
// list whose every path CanAddPath accepts, none otherwise. It lives inside its list wrapper;
// the reference count only pairs OLE's references.
class BackupListDropTarget final : public IDropTarget {
 public:
  explicit BackupListDropTarget(BackupListCtrl& list) : m_rList(list) {}
  BackupListDropTarget(const BackupListDropTarget&) = delete;
  BackupListDropTarget& operator=(const BackupListDropTarget&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_nRefs; }
  STDMETHODIMP_(ULONG) Release() override { return --m_nRefs; }

  STDMETHODIMP DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
  STDMETHODIMP DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
  STDMETHODIMP DragLeave() override;
  STDMETHODIMP Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

 private:
  BackupListCtrl& m_rList;
  bool m_bFileList = false;
  DWORD m_nEffect = DROPEFFECT_NONE;
  ULONG m_nRefs = 0;
};

// The backup page's list view wrapper. Bound, the list shows the system's small icons and
// takes drops (OLE must be initialised on the thread); unbound, it gives both back. The
// manager sets its reference while it lives; the wrapper must outlive the manager.
class BackupListCtrl {
 public:
  BackupListCtrl() : m_dropTarget(*this) {}
  ~BackupListCtrl() { Unbind(); }
  BackupListCtrl(const BackupListCtrl&) = delete;
  BackupListCtrl& operator=(const BackupListCtrl&) = delete;

  void Bind(HWND list);
  // Revokes the drop target and takes the system's image list out of the list, which would
  // otherwise destroy that shared list with its window.
  void Unbind();
  HWND hwnd() const { return m_hWnd; }
  void SetManager(FolderTreeManager* manager) { m_pManager = manager; }
  FolderTreeManager* Manager() const { return m_pManager; }

 private:
  HWND m_hWnd = nullptr;
  FolderTreeManager* m_pManager = nullptr;
  bool m_bSystemImages = false;
  BackupListDropTarget m_dropTarget;
};
