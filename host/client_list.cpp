#include "host/client_list.h"

#include <windows.h>

#include "model/join_path.h"
#include "platform/win32/unique_handles.h"
#include "registry/registry_store.h"

namespace {

constexpr const char kClientsKey[] = "SOFTWARE\\Korvel\\Tessarine";

}  // namespace

std::vector<ClientModule> RegisteredClients() {
  std::vector<ClientModule> clients;
  UniqueHkey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kClientsKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return clients;
  const CRegistryStore store;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD length = sizeof name;
    const LONG result = RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_MORE_DATA) continue;  // no class identifier is that long
    if (result != ERROR_SUCCESS) break;
    std::string clsid(name, length);
    std::string display = store.ReadString(JoinPath(JoinPath("HKEY_LOCAL_MACHINE", kClientsKey), clsid), "Name");
    clients.push_back({std::move(clsid), std::move(display)});
  }
  return clients;
}

std::string ServerFileOf(const std::string& clsid) {
  return CRegistryStore().ReadString("HKEY_CLASSES_ROOT\\CLSID\\" + clsid + "\\InprocServer32", "");
}
