#include "server/type_info_dispatch.h"

#include <oleauto.h>

#include "server/module_type_library.h"

HRESULT CTypeInfoDispatch::Load() {
  if (m_pTypeInfo) return S_OK;
  ComPtr<ITypeLib> lib;
  HRESULT hr = LoadModuleTypeLib(lib);
  if (FAILED(hr)) return hr;
  return lib->GetTypeInfoOfGuid(m_iid, m_pTypeInfo.Put());
}

HRESULT CTypeInfoDispatch::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT CTypeInfoDispatch::GetTypeInfo(UINT index, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  HRESULT hr = Load();
  if (FAILED(hr)) return hr;
  *info = ComPtr<ITypeInfo>(m_pTypeInfo).Detach();
  return S_OK;
}

HRESULT CTypeInfoDispatch::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  HRESULT hr = Load();
  if (FAILED(hr)) return hr;
  return DispGetIDsOfNames(m_pTypeInfo.Get(), names, count, ids);
}

HRESULT CTypeInfoDispatch::Invoke(void* instance, DISPID id, REFIID riid, WORD flags, DISPPARAMS* params,
                                  VARIANT* result, EXCEPINFO* exception, UINT* badArgument) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  HRESULT hr = Load();
  if (FAILED(hr)) return hr;
  return m_pTypeInfo->Invoke(instance, id, flags, params, result, exception, badArgument);
}
