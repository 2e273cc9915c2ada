#pragma once
#include <windows.h>
#include <unknwn.h>

#include <atomic>

// Makes one object of a class: called with a valid `out` and only for aggregation that is
// allowed (no outer object, or an outer object asking for IUnknown).
using ComponentCreator = HRESULT (*)(IUnknown* outer, REFIID iid, void** out);

// The class object of one component class. It is kept by the class table from the first
// request until the module stops, so it takes no module lock of its own: only LockServer does.
class CClassObject final : public IClassFactory {
 public:
  explicit CClassObject(ComponentCreator create) : m_pfnCreate(create) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  ComponentCreator m_pfnCreate;
  // Shared by every apartment that asks for the class, unlike component objects.
  std::atomic<ULONG> m_nRefs{1};
};
