#include "server/component.h"

#include "server/module_lock.h"

CComponentBase::CComponentBase(IUnknown* outer, const InterfaceEntry* interfaces)
    : m_inner(this), m_pControlling(outer ? outer : &m_inner), m_pInterfaces(interfaces) {
  LockModule();
}

CComponentBase::~CComponentBase() { UnlockModule(); }

void* CComponentBase::FindInterface(REFIID iid) {
  for (const InterfaceEntry* entry = m_pInterfaces; entry->iid; ++entry) {
    if (IsEqualIID(iid, *entry->iid)) return reinterpret_cast<char*>(this) + entry->offset;
  }
  return nullptr;
}

STDMETHODIMP CComponentBase::CInnerUnknown::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown)) {
    *out = static_cast<IUnknown*>(this);
  } else {
    *out = m_pOwner->FindInterface(iid);
    if (!*out) return E_NOINTERFACE;
  }
  // Through the interface handed out, so an aggregated object counts on its outer object.
  static_cast<IUnknown*>(*out)->AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CComponentBase::CInnerUnknown::AddRef() { return ++m_nRefs; }

STDMETHODIMP_(ULONG) CComponentBase::CInnerUnknown::Release() {
  const ULONG left = --m_nRefs;
  if (left == 0) delete m_pOwner;
  return left;
}
