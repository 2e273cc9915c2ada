#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/host_contract.h"
#include "model/settings_store.h"

// Creates every directory of `path` from its second "\" on, left to right, ignoring
// failures; the last component (the file name) is not created.
void CreatePathDirectories(const std::string& path);

// One restore run: iterates over the client's objects and asks the host to write every file
// object to its original path, or under `options.destination` by its stored name.
RunResult RunRestore(RestoreHost& host, const RestoreOptions& options, const std::string& clsid);
