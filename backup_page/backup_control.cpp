#include "backup_page/backup_control.h"

const InterfaceEntry CBkQnFilesFolders::kInterfaces[] = {
    BKQN_INTERFACE(CBkQnFilesFolders, IBkQnAxBackup),
    BKQN_INTERFACE_VIA(CBkQnFilesFolders, IDispatch, IBkQnAxBackup),
    BKQN_CONTROL_FRAME_INTERFACES(CBkQnFilesFolders),
    {},
};

CBkQnFilesFolders::CBkQnFilesFolders(IUnknown* outer) : CComponent(outer, kInterfaces) {}

STDMETHODIMP CBkQnFilesFolders::Validate(VARIANT_BOOL* pfIsValid) {
  if (pfIsValid) *pfIsValid = VARIANT_TRUE;
  return S_OK;
}

HRESULT CreateBkQnFilesFolders(IUnknown* outer, REFIID iid, void** out) {
  return CreateComponent<CBkQnFilesFolders>(outer, iid, out);
}
