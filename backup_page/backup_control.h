#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "backup_page/backup_list_ctrl.h"
#include "backup_page/folder_tree_ctrl.h"
#include "bkqnfiles.h"
#include "model/file_entry.h"
#include "model/folder_entry.h"
#include "platform/win32/unique_handles.h"
#include "server/dialog_control_frame.h"
#include "server/dispatch_impl.h"

class FolderTreeManager;

// BkQnFilesFolders: the backup selection page. The drive and folder tree on the left, the
// backup list on the right (one row per folder or file, with its masks and rules), and two
// icon buttons above the list. The host loads the stored list with PersistSettings(0), lets
// the user work, and saves with PersistSettings(1).
//
// A row refers to its entry by index into one of the two entry tables (its item data), or
// carries a marker: -1 for a folder row, -2 for a file row, that has no entry of its own yet.
// Entries are only appended, for the control's life; a removed row leaves its entry behind.
class CBkQnFilesFolders final : public CComponent<CDispatchImpl<IBkQnAxBackup>, CDialogControlFrame> {
 public:
  explicit CBkQnFilesFolders(IUnknown* outer);
  ~CBkQnFilesFolders() override;

  // IBkQnAxBackup: all S_OK. PersistSettings saves for 1 and loads for any other value; with
  // no page (the control not active) it leaves the store and the tables alone.
  STDMETHODIMP PersistSettings(VARIANT_BOOL bAction) override;
  STDMETHODIMP SettingsChanged(VARIANT_BOOL* bChanged) override;
  STDMETHODIMP Validate(VARIANT_BOOL* pfIsValid) override;

 private:
  static const InterfaceEntry kInterfaces[];

  const CLSID& ClassId() const override { return CLSID_BkQnFilesFolders; }
  int PageTemplate() const override;
  bool OnInitDialog() override;
  ui::MessageResult OnCommand(int id, int code, HWND control) override;
  ui::MessageResult OnNotify(const NMHDR& header) override;
  ui::MessageResult OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void TearDown();

  void Load();
  void Save() const;
  void UpdateControls();
  // A row without texts gets the defaults of its kind: "*.*" and -1 for a folder; "Backup
  // allways", "[none]" and -2 for a file or a missing path. Not while loading.
  void GiveDefaults(int row);
  void ShowTreeMenu();
  void ShowListMenu();
  void RemoveSelected();
  void ShowProperties(int row);
  CFolderEntry& FolderEntryFor(int row);
  CFileEntry& FileEntryFor(int row);
  int RowData(int row) const;
  void SetRowData(int row, int data);
  // The list's row under the cursor, or -1.
  int RowAtCursor() const;
  std::vector<std::string> SelectedPaths() const;

  // The wrappers must outlive the manager, which holds references to them.
  FolderTreeCtrl m_treeCtrl;
  BackupListCtrl m_listCtrl;
  UniqueHicon m_hPropertiesIcon;
  UniqueHicon m_hRemoveIcon;
  UniqueHmenu m_hTreeMenu;
  UniqueHmenu m_hListMenu;
  std::unique_ptr<FolderTreeManager> m_pTreeManager;
  std::vector<CFolderEntry> m_vFolderEntries;
  std::vector<CFileEntry> m_vFileEntries;
  bool m_bLoading = false;
};

// The class table's creator for BkQnFilesFolders.
HRESULT CreateBkQnFilesFolders(IUnknown* outer, REFIID iid, void** out);
