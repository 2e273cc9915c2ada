#include "server/class_object.h"

#include "server/module_lock.h"

STDMETHODIMP CClassObject::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CClassObject::AddRef() { return ++m_nRefs; }

STDMETHODIMP_(ULONG) CClassObject::Release() {
  const ULONG left = --m_nRefs;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CClassObject::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
  return m_pfnCreate(outer, iid, out);
}

STDMETHODIMP CClassObject::LockServer(BOOL lock) {
  if (lock) {
    LockModule();
  } else {
    UnlockModule();
  }
  return S_OK;
}
