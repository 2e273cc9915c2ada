#pragma once
#include <windows.h>
#include <unknwn.h>

#include <new>

// The base of every component object: its identity (a non-delegating IUnknown that owns the
// reference count), the controlling unknown its interfaces delegate to (an outer object when
// aggregated, else its own identity), and one module lock for as long as it lives.
class CComponentBase {
 public:
  CComponentBase(const CComponentBase&) = delete;
  CComponentBase& operator=(const CComponentBase&) = delete;

  // The identity; an aggregating outer object holds this, everyone else gets interfaces.
  IUnknown* InnerUnknown() { return &m_inner; }

 protected:
  // `outer` is the aggregating object or null.
  explicit CComponentBase(IUnknown* outer);
  virtual ~CComponentBase();

  // The interface answered for `iid` (IUnknown excluded), not yet AddRef'ed; null for none.
  virtual void* FindInterface(REFIID iid) = 0;
  IUnknown* ControllingUnknown() const { return m_pControlling; }

 private:
  class CInnerUnknown final : public IUnknown {
   public:
    explicit CInnerUnknown(CComponentBase* owner) : m_pOwner(owner) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

   private:
    CComponentBase* m_pOwner;
    // Apartment-threaded objects: a plain counter. Starts with the creator's reference.
    ULONG m_nRefs = 1;
  };

  CInnerUnknown m_inner;
  IUnknown* m_pControlling;
};

// A component class answering `Interfaces...`: their IUnknown methods all go to the
// controlling unknown. The derived class maps identifiers to interfaces in FindInterface.
template <typename... Interfaces>
class CComponent : public CComponentBase, public Interfaces... {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    return ControllingUnknown()->QueryInterface(iid, out);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ControllingUnknown()->AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return ControllingUnknown()->Release(); }

 protected:
  explicit CComponent(IUnknown* outer) : CComponentBase(outer) {}
};

// Creates a `T` (constructed from the outer unknown or null) and hands out its `iid`. The
// caller has checked `out` and the aggregation rule. A new object that does not answer `iid`
// is destroyed again; one that cannot be allocated leaves nothing behind.
template <typename T>
HRESULT CreateComponent(IUnknown* outer, REFIID iid, void** out) {
  *out = nullptr;
  T* object = nullptr;
  try {
    object = new T(outer);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  IUnknown* identity = object->InnerUnknown();
  const HRESULT hr = identity->QueryInterface(iid, out);
  identity->Release();
  return hr;
}
