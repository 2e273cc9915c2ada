#include "server/class_table.h"

#include <atomic>
#include <new>

#include "backup_page/backup_control.h"
#include "bkqnfiles.h"
#include "restore_page/restore_control.h"
#include "server/service_object.h"

const ComponentClass kComponentClasses[] = {
    {&CLSID_BkQnFilesFolders, &CreateBkQnFilesFolders},
    {&CLSID_BkQnFilesSrv, &CreateBkQnFilesSrv},
    {&CLSID_RsQnFilesFolders, &CreateRsQnFilesFolders},
};
const size_t kComponentClassCount = sizeof kComponentClasses / sizeof kComponentClasses[0];

namespace {

// One slot per class; the module's stop releases what was made.
class CClassObjectCache {
 public:
  ~CClassObjectCache() {
    for (auto& slot : m_slots) {
      if (IClassFactory* object = slot.exchange(nullptr)) object->Release();
    }
  }

  // Made without a lock: when two threads race, one publishes and the other drops its own.
  IClassFactory* Get(size_t index, ComponentCreator create) {
    std::atomic<IClassFactory*>& slot = m_slots[index];
    if (IClassFactory* existing = slot.load()) return existing;
    IClassFactory* made = new (std::nothrow) CClassObject(create);
    if (!made) return nullptr;
    IClassFactory* expected = nullptr;
    if (slot.compare_exchange_strong(expected, made)) return made;
    made->Release();
    return expected;
  }

 private:
  std::atomic<IClassFactory*> m_slots[sizeof kComponentClasses / sizeof kComponentClasses[0]] = {};
};

CClassObjectCache g_classObjects;

}  // namespace

HRESULT GetComponentClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  for (size_t i = 0; i < kComponentClassCount; ++i) {
    const ComponentClass& entry = kComponentClasses[i];
    if (!IsEqualCLSID(clsid, *entry.clsid)) continue;
    IClassFactory* object = g_classObjects.Get(i, entry.create);
    return object ? object->QueryInterface(iid, out) : E_OUTOFMEMORY;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}
