#pragma once
#include <windows.h>

#include <memory>

#include "bkqnfiles.h"
#include "server/dialog_control_frame.h"
#include "server/dispatch_impl.h"

class FolderTreeManager;

// RsQnFilesFolders: the restore options page. The user chooses where restored files go (the
// places they came from, or a drive or folder picked in the tree) and whether existing files
// are overwritten; PersistSettings(1) stores that choice for the restore run. Every page
// starts from "Original location", no overwrite, tree hidden: nothing stored is read back.
class CRsQnFilesFolders final : public CComponent<CDispatchImpl<IBkQnAxRestore>, CDialogControlFrame> {
 public:
  explicit CRsQnFilesFolders(IUnknown* outer);
  ~CRsQnFilesFolders() override;

  // IBkQnAxRestore: all S_OK.
  STDMETHODIMP PersistSettings(VARIANT_BOOL bAction) override;
  STDMETHODIMP SettingsChanged(VARIANT_BOOL* bChanged) override;
  STDMETHODIMP Validate(VARIANT_BOOL* pfIsValid) override;

 private:
  static const InterfaceEntry kInterfaces[];

  const CLSID& ClassId() const override { return CLSID_RsQnFilesFolders; }
  int PageTemplate() const override;
  bool OnInitDialog() override;
  ui::MessageResult OnCommand(int id, int code, HWND control) override;
  ui::MessageResult OnNotify(const NMHDR& header) override;
  ui::MessageResult OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The tree control and its model, while the page exists.
  HWND m_hTree = nullptr;
  std::unique_ptr<FolderTreeManager> m_pTreeManager;
};

// The class table's creator for RsQnFilesFolders.
HRESULT CreateRsQnFilesFolders(IUnknown* outer, REFIID iid, void** out);
