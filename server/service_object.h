#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "bkqnfiles.h"
#include "server/component.h"
#include "server/type_info_dispatch.h"

// BkQnFilesSrv: the non-visual object through which the host asks about the client and runs
// backups and restores. Answers IBkQnService and IDispatch; may be aggregated.
class CBkQnFilesSrv final : public CComponent<IBkQnService> {
 public:
  // Builds the service key and the client identity text; throws std::bad_alloc.
  explicit CBkQnFilesSrv(IUnknown* outer);

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* badArgument) override;

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

 protected:
  void* FindInterface(REFIID iid) override;

 private:
  std::string m_strServiceKey;
  std::string m_strClsid;
  int32_t m_nFailedFiles = 0;
  CTypeInfoDispatch m_dispatch;
};

// The class table's creator for BkQnFilesSrv.
HRESULT CreateBkQnFilesSrv(IUnknown* outer, REFIID iid, void** out);
