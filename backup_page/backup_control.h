#pragma once
#include <windows.h>

#include "bkqnfiles.h"
#include "server/dialog_control_frame.h"
#include "server/dispatch_impl.h"

// BkQnFilesFolders: the backup selection control, so far only its frame. Its page (template
// 201: the tree, the backup list, their commands) comes with the backup page; until then the
// control answers its interfaces but cannot be activated, and cannot load or store a list.
class CBkQnFilesFolders final : public CComponent<CDispatchImpl<IBkQnAxBackup>, CDialogControlFrame> {
 public:
  explicit CBkQnFilesFolders(IUnknown* outer);

  // IBkQnAxBackup
  STDMETHODIMP PersistSettings(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP SettingsChanged(VARIANT_BOOL*) override { return S_OK; }
  STDMETHODIMP Validate(VARIANT_BOOL* pfIsValid) override;

 private:
  static const InterfaceEntry kInterfaces[];

  const CLSID& ClassId() const override { return CLSID_BkQnFilesFolders; }
  int PageTemplate() const override { return 201; }
};

// The class table's creator for BkQnFilesFolders.
HRESULT CreateBkQnFilesFolders(IUnknown* outer, REFIID iid, void** out);
