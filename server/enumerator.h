#pragma once
#include <windows.h>
#include <ocidl.h>

#include <algorithm>
#include <new>
#include <vector>

#include "server/component.h"

// A COM enumerator (IEnumConnections, IEnumConnectionPoints...) over a snapshot of items that
// each carry one interface reference: the enumerator keeps one reference per item and hands
// out another with every item it returns.
inline IUnknown* ItemUnknown(IUnknown* item) { return item; }
inline IUnknown* ItemUnknown(const CONNECTDATA& item) { return item.pUnk; }

template <typename Enum, typename Item>
class CEnumerator final : public CComponent<Enum> {
 public:
  // Makes an enumerator over `items`, positioned at `next`; E_OUTOFMEMORY when it cannot.
  static HRESULT Create(const std::vector<Item>& items, size_t next, Enum** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    try {
      *out = new CEnumerator(items, next);
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

  STDMETHODIMP Next(ULONG count, Item* items, ULONG* fetched) override {
    if (!items || (count != 1 && !fetched)) return E_POINTER;
    ULONG given = 0;
    for (; given < count && m_nNext < m_vItems.size(); ++given) {
      items[given] = m_vItems[m_nNext++];
      ItemUnknown(items[given])->AddRef();
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    const size_t left = m_vItems.size() - m_nNext;
    m_nNext += std::min<size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    m_nNext = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(Enum** out) override { return Create(m_vItems, m_nNext, out); }

 private:
  static const InterfaceEntry kInterfaces[];

  CEnumerator(const std::vector<Item>& items, size_t next)
      : CComponent<Enum>(nullptr, kInterfaces), m_vItems(items), m_nNext(next) {
    for (const Item& item : m_vItems) ItemUnknown(item)->AddRef();
  }
  ~CEnumerator() override {
    for (const Item& item : m_vItems) ItemUnknown(item)->Release();
  }

  std::vector<Item> m_vItems;
  size_t m_nNext;
};

template <typename Enum, typename Item>
const InterfaceEntry CEnumerator<Enum, Item>::kInterfaces[] = {BKQN_INTERFACE(CEnumerator, Enum), {}};
