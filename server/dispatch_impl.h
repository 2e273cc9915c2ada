#pragma once
#include <windows.h>
#include <oleauto.h>

#include "server/com_ptr.h"
#include "server/com_result.h"
#include "server/module_type_library.h"

// IDispatch for a dual or dispatch-derived interface of this module, served from the module's
// own type library (one cache for the module, see module_type_library.h). A class derives
// from CComponent<CDispatchImpl<IItsInterface>, ...> and so answers the four IDispatch methods
// for that interface; its table names IDispatch through that interface.
template <typename Interface>
class CDispatchImpl : public Interface {
 public:
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }

  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return GetModuleTypeInfo(__uuidof(Interface), info);
  }

  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    ComPtr<ITypeInfo> info;
    BKQN_RETURN_IF_FAILED(GetModuleTypeInfo(__uuidof(Interface), info.put()));
    return DispGetIDsOfNames(info.get(), names, count, ids);
  }

  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* badArgument) override {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    ComPtr<ITypeInfo> info;
    BKQN_RETURN_IF_FAILED(GetModuleTypeInfo(__uuidof(Interface), info.put()));
    return info->Invoke(static_cast<Interface*>(this), id, flags, params, result, exception, badArgument);
  }
};
