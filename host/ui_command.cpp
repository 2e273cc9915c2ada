#include "host/ui_command.h"

#include <cstdio>

#include "bkqnfiles.h"
#include "host/client_list.h"
#include "host/command_line.h"
#include "host/com_apartment.h"
#include "host/control_container.h"
#include "platform/win32/unique_handles.h"
#include "server/bstr.h"

namespace {

// The class identifier of the client's restore or backup control, as its service tells it.
HRESULT ControlClassOf(const ClientModule& client, bool restore, CLSID& control) {
  CLSID service = {};
  HRESULT hr = CLSIDFromString(WidenToBstr(client.clsid).get(), &service);
  ComPtr<IBkQnService> object;
  if (SUCCEEDED(hr)) hr = CoCreateInstance(service, nullptr, CLSCTX_INPROC_SERVER, IID_IBkQnService, object.put_void());
  UniqueBstr text;
  if (SUCCEEDED(hr)) hr = restore ? object->GetAxRestoreCLSID(text.put()) : object->GetAxBackupCLSID(text.put());
  return SUCCEEDED(hr) ? CLSIDFromString(text.get(), &control) : hr;
}

}  // namespace

int ShowClientPages(const std::string& page) {
  if (page != "restore" && page != "backup") {
    std::fprintf(stderr, "qnhost: ui shows the \"restore\" or the \"backup\" page, not \"%s\"\n", page.c_str());
    return kExitUsage;
  }
  const std::vector<ClientModule> clients = RegisteredClients();
  if (clients.empty()) {
    std::fprintf(stderr, "qnhost: no client module is registered (register one with regsvr32)\n");
    return kExitNoModule;
  }
  const ComApartment apartment;
  if (FAILED(apartment.Result())) return kExitFailed;
  int code = kExitDone;
  for (const ClientModule& client : clients) {
    CLSID control = {};
    CControlContainer container;
    HRESULT hr = ControlClassOf(client, page == "restore", control);
    if (SUCCEEDED(hr)) hr = container.Open(control, client.name + (page == "restore" ? " - Restore" : " - Backup"));
    // As the host does once the page shows: the stored list comes in.
    if (SUCCEEDED(hr)) hr = container.LoadSettings();
    if (FAILED(hr)) {
      std::printf("\"%s\": the %s page cannot be shown (0x%08lX)\n", client.name.c_str(), page.c_str(),
                  static_cast<unsigned long>(hr));
      code = kExitFailed;
      continue;
    }
    const bool stored = container.RunUntilClosed() == CControlContainer::Outcome::kStored;
    std::printf("\"%s\": %s\n", client.name.c_str(), stored ? "stored" : "nothing stored");
  }
  return code;
}
