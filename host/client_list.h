#pragma once
#include <string>
#include <vector>

// A client module as the host finds it: a key under
// HKEY_LOCAL_MACHINE\SOFTWARE\Korvel\Tessarine named by its service's class identifier,
// with the display name in "Name".
struct ClientModule {
  std::string clsid;
  std::string name;
};

// The registered clients in the registry's order; none when the key is missing.
std::vector<ClientModule> RegisteredClients();

// The file registered as the in-process server of `clsid`; empty when there is none.
std::string ServerFileOf(const std::string& clsid);
