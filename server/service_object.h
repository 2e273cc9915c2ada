#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "bkqnfiles.h"
#include "server/component.h"
#include "server/dispatch_impl.h"

// BkQnFilesSrv: the non-visual object through which the host asks about the client and runs
// backups and restores. Answers IBkQnService and IDispatch; may be aggregated.
class CBkQnFilesSrv final : public CComponent<CDispatchImpl<IBkQnService>> {
 public:
  // Builds the service key and the client identity text; throws std::bad_alloc.
  explicit CBkQnFilesSrv(IUnknown* outer);

  // IBkQnService
  STDMETHODIMP Backup(IBackuper* pBackuper, IProgress* pProgress) override;
  STDMETHODIMP Restore(IRestorer* pRestorer, IProgress* pProgress) override;
  STDMETHODIMP HasAxBackup(VARIANT_BOOL* pbval) override;
  STDMETHODIMP HasAxRestore(VARIANT_BOOL* pbval) override;
  STDMETHODIMP ClientPresent(VARIANT_BOOL* pbval) override;
  STDMETHODIMP GetAxBackupCLSID(BSTR* btval) override;
  STDMETHODIMP GetAxRestoreCLSID(BSTR* btval) override;
  STDMETHODIMP GetClientInfo(BSTR PropertyName, VARIANT* pvValue) override;
  STDMETHODIMP SetOptions(VARIANT Options) override;
  STDMETHODIMP GetOptions(VARIANT* Options) override;

 private:
  static const InterfaceEntry kInterfaces[];

  std::string m_strServiceKey;
  std::string m_strClsid;
  int32_t m_nFailedFiles = 0;
};

// The class table's creator for BkQnFilesSrv.
HRESULT CreateBkQnFilesSrv(IUnknown* outer, REFIID iid, void** out);
