#include "server/module_type_library.h"

#include <oleauto.h>

#include <mutex>
#include <vector>

#include "platform/win32/this_module.h"
#include "server/com_result.h"

HRESULT LoadModuleTypeLib(ComPtr<ITypeLib>& lib) {
  const std::wstring path = ThisModulePath();
  if (path.empty()) return LastErrorResult();
  return LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib.put());
}

namespace {

struct CachedTypeInfo {
  GUID guid;
  ComPtr<ITypeInfo> info;
};

// Objects of several apartments may ask at once.
std::mutex g_cacheLock;
ComPtr<ITypeLib> g_library;
std::vector<CachedTypeInfo> g_typeInfos;

}  // namespace

HRESULT GetModuleTypeInfo(REFGUID guid, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  std::lock_guard<std::mutex> lock(g_cacheLock);
  for (const CachedTypeInfo& cached : g_typeInfos) {
    if (IsEqualGUID(cached.guid, guid)) {
      *info = ComPtr<ITypeInfo>(cached.info).release();
      return S_OK;
    }
  }
  if (!g_library) BKQN_RETURN_IF_FAILED(LoadModuleTypeLib(g_library));
  ComPtr<ITypeInfo> found;
  BKQN_RETURN_IF_FAILED(g_library->GetTypeInfoOfGuid(guid, found.put()));
  g_typeInfos.push_back({guid, found});
  *info = found.release();
  return S_OK;
}

void ReleaseModuleTypeInfo() {
  std::vector<CachedTypeInfo> infos;
  ComPtr<ITypeLib> library;
  {
    std::lock_guard<std::mutex> lock(g_cacheLock);
    infos.swap(g_typeInfos);
    library = std::move(g_library);
  }
  // The references go here, after the lock is let go.
}
