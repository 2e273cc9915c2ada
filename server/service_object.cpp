#include "server/service_object.h"

#include "model/join_path.h"
#include "model/module_strings.h"
#include "model/settings_store.h"
#include "server/bstr.h"
#include "server/client_info.h"
#include "server/com_boundary.h"
#include "server/host_runs.h"

namespace {

// The host reads these flags as "equal to 1", not as a COM true (-1).
constexpr VARIANT_BOOL kHostTrue = 1;

HRESULT StoreHostTrue(VARIANT_BOOL* flag) {
  if (!flag) return E_POINTER;
  *flag = kHostTrue;
  return S_OK;
}

HRESULT StoreModuleText(BSTR* out, UINT id) {
  // E_FAIL, not E_POINTER: the host knows these two calls by that answer to a null pointer.
  if (!out) return E_FAIL;
  return ComBoundary([&] {
    *out = WidenToBstr(ModuleString(id)).release();
    return S_OK;
  });
}

}  // namespace

const InterfaceEntry CBkQnFilesSrv::kInterfaces[] = {
    BKQN_INTERFACE(CBkQnFilesSrv, IBkQnService),
    BKQN_INTERFACE_VIA(CBkQnFilesSrv, IDispatch, IBkQnService),
    {},
};

CBkQnFilesSrv::CBkQnFilesSrv(IUnknown* outer)
    : CComponent(outer, kInterfaces),
      m_strServiceKey(SettingsKeyBase()),
      m_strClsid(ModuleString(IDS_SERVICE_CLSID)) {}

STDMETHODIMP CBkQnFilesSrv::Backup(IBackuper* pBackuper, IProgress* pProgress) {
  return ComBoundary([&] { return RunComBackup(pBackuper, pProgress, m_strServiceKey, m_strClsid, m_nFailedFiles); });
}

STDMETHODIMP CBkQnFilesSrv::Restore(IRestorer* pRestorer, IProgress*) {
  return ComBoundary([&] { return RunComRestore(pRestorer, m_strServiceKey, m_strClsid); });
}

STDMETHODIMP CBkQnFilesSrv::HasAxBackup(VARIANT_BOOL* pbval) { return StoreHostTrue(pbval); }

STDMETHODIMP CBkQnFilesSrv::HasAxRestore(VARIANT_BOOL* pbval) { return StoreHostTrue(pbval); }

STDMETHODIMP CBkQnFilesSrv::ClientPresent(VARIANT_BOOL* pbval) { return StoreHostTrue(pbval); }

STDMETHODIMP CBkQnFilesSrv::GetAxBackupCLSID(BSTR* btval) { return StoreModuleText(btval, IDS_BACKUP_CONTROL_CLSID); }

STDMETHODIMP CBkQnFilesSrv::GetAxRestoreCLSID(BSTR* btval) {
  return StoreModuleText(btval, IDS_RESTORE_CONTROL_CLSID);
}

STDMETHODIMP CBkQnFilesSrv::GetClientInfo(BSTR PropertyName, VARIANT* pvValue) {
  return ComBoundary([&] {
    return QueryClientInfo(JoinPath(m_strServiceKey, ModuleString(IDS_BACKUP_LIST_KEY)),
                           PropertyName, pvValue);
  });
}

// No settings travel through the host's option calls.
STDMETHODIMP CBkQnFilesSrv::SetOptions(VARIANT) { return S_OK; }

STDMETHODIMP CBkQnFilesSrv::GetOptions(VARIANT*) { return S_OK; }

HRESULT CreateBkQnFilesSrv(IUnknown* outer, REFIID iid, void** out) {
  return CreateComponent<CBkQnFilesSrv>(outer, iid, out);
}
