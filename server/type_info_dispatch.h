#pragma once
#include <windows.h>
#include <oaidl.h>

#include "server/com_ptr.h"

// The IDispatch half of an interface described in the module's own type library: its type
// information is loaded from the module file on first use and kept for the object's life.
class CTypeInfoDispatch {
 public:
  explicit CTypeInfoDispatch(const IID& iid) : m_iid(iid) {}

  HRESULT GetTypeInfoCount(UINT* count);
  HRESULT GetTypeInfo(UINT index, ITypeInfo** info);
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, DISPID* ids);
  // `instance` is the interface the type information describes.
  HRESULT Invoke(void* instance, DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* exception, UINT* badArgument);

 private:
  HRESULT Load();

  const IID& m_iid;
  ComPtr<ITypeInfo> m_pTypeInfo;
};
