#pragma once
#include <windows.h>
#include <oleauto.h>

#include "bkqnfiles.h"
#include "server/dispatch_impl.h"

// The host side of one of its dual interfaces: IUnknown with a plain reference count (the
// objects live on one apartment thread) and IDispatch from the type library in the resources
// of the program they are linked into, by the module's own loader and cache (a program using
// them embeds it: bkqn_embed_type_library). Made with `new`, starting with the creator's
// reference.
template <typename Interface>
class DispatchObject : public CDispatchImpl<Interface> {
 public:
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, __uuidof(Interface))) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_nRefs; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --m_nRefs;
    if (left == 0) delete this;
    return left;
  }
  // The references held right now, for checks that a caller gave back what it took.
  ULONG References() const { return m_nRefs; }

 protected:
  DispatchObject() = default;
  virtual ~DispatchObject() = default;

 private:
  ULONG m_nRefs = 1;
};
