#pragma once
#include <windows.h>
#include <unknwn.h>

#include <cstddef>
#include <new>

// The COM base of every component object of this module.
//
// A class derives from CComponent<its interfaces...> and hands the base a static table of the
// interfaces it answers, {identifier, place in the object}, ended by an empty row:
//
//   const InterfaceEntry CBkQnFilesSrv::kInterfaces[] = {
//       BKQN_INTERFACE(CBkQnFilesSrv, IBkQnService),
//       BKQN_INTERFACE_VIA(CBkQnFilesSrv, IDispatch, IBkQnService),  // one of several IDispatch
//       {},
//   };
//
// QueryInterface searches that table; IUnknown is the object's identity and never in it.
// The base also keeps the reference count on its identity (a non-delegating IUnknown), the
// controlling unknown the interfaces delegate to (an outer object when aggregated, else the
// identity), and one module lock for as long as the object lives.

class CComponentBase;

struct InterfaceEntry {
  const IID* iid;
  // From the object's CComponentBase to the interface.
  ptrdiff_t offset;
};

// Where `Interface` sits in a `Class` object, reached through `Path` when the class holds more
// than one base of that type (IDispatch, IOleWindow, IPersist, IViewObject).
template <typename Class, typename Interface, typename Path = Interface>
ptrdiff_t InterfaceOffset() {
  // Any well-aligned address will do: only the distance between two casts of it is kept.
  Class* const object = reinterpret_cast<Class*>(alignof(Class) * 64);
  return reinterpret_cast<char*>(static_cast<Interface*>(static_cast<Path*>(object))) -
         reinterpret_cast<char*>(static_cast<CComponentBase*>(object));
}

#define BKQN_INTERFACE(Class, Interface) \
  InterfaceEntry { &__uuidof(Interface), InterfaceOffset<Class, Interface>() }
#define BKQN_INTERFACE_VIA(Class, Interface, Path) \
  InterfaceEntry { &__uuidof(Interface), InterfaceOffset<Class, Interface, Path>() }

class CComponentBase {
 public:
  CComponentBase(const CComponentBase&) = delete;
  CComponentBase& operator=(const CComponentBase&) = delete;

  // The identity; an aggregating outer object holds this, everyone else gets interfaces.
  IUnknown* InnerUnknown() { return &m_inner; }

 protected:
  // `outer` is the aggregating object or null; `interfaces` the class's static table.
  CComponentBase(IUnknown* outer, const InterfaceEntry* interfaces);
  virtual ~CComponentBase();

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

  // The interface answered for `iid` (IUnknown excluded), not yet AddRef'ed; null for none.
  void* FindInterface(REFIID iid);

  CInnerUnknown m_inner;
  IUnknown* m_pControlling;
  const InterfaceEntry* m_pInterfaces;
};

// A component class answering `Interfaces...`: their IUnknown methods all go to the
// controlling unknown.
template <typename... Interfaces>
class CComponent : public CComponentBase, public Interfaces... {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    return ControllingUnknown()->QueryInterface(iid, out);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ControllingUnknown()->AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return ControllingUnknown()->Release(); }

 protected:
  CComponent(IUnknown* outer, const InterfaceEntry* interfaces) : CComponentBase(outer, interfaces) {}
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
