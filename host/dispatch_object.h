#pragma once
#include <windows.h>
#include <oleauto.h>

#include "bkqnfiles.h"
#include "server/com_ptr.h"

// The host side of one of its dual interfaces: IUnknown with a plain reference count (the
// objects live on one apartment thread) and IDispatch served from the module's registered
// type library, or E_NOTIMPL where it is not registered. Made with `new`, starting with the
// creator's reference.
template <typename Interface>
class DispatchObject : public Interface {
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

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = TypeInfo() ? 1 : 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* typeInfo = TypeInfo();
    if (!typeInfo) return E_NOTIMPL;
    typeInfo->AddRef();
    *info = typeInfo;
    return S_OK;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    ITypeInfo* typeInfo = TypeInfo();
    return typeInfo ? DispGetIDsOfNames(typeInfo, names, count, ids) : E_NOTIMPL;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* badArgument) override {
    ITypeInfo* typeInfo = TypeInfo();
    return typeInfo ? DispInvoke(static_cast<Interface*>(this), typeInfo, id, flags, params, result, exception,
                                 badArgument)
                    : E_NOTIMPL;
  }

 protected:
  DispatchObject() = default;
  virtual ~DispatchObject() = default;

 private:
  ITypeInfo* TypeInfo() {
    if (!m_bTypeInfoLooked) {
      m_bTypeInfoLooked = true;
      ComPtr<ITypeLib> library;
      // Registered under the library's own locale, 1033.
      if (SUCCEEDED(LoadRegTypeLib(LIBID_BkQnFILESLib, 2, 1, MAKELCID(1033, SORT_DEFAULT), library.put())))
        library->GetTypeInfoOfGuid(__uuidof(Interface), m_pTypeInfo.put());
    }
    return m_pTypeInfo.get();
  }

  ULONG m_nRefs = 1;
  bool m_bTypeInfoLooked = false;
  ComPtr<ITypeInfo> m_pTypeInfo;
};
