#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/host_contract.h"
#include "model/settings_store.h"

// The file name stored from byte 28 of an object's options, up to its zero byte; nullopt
// when the array is too short, has no zero byte after the name, or the name is not a plain
// file name (IsPlainFileName: empty, ".", "..", holding "\", "/" or ":", or a device).
std::optional<std::string> ReadObjectName(const std::vector<uint8_t>& options);

// Creates every directory of `path` from its second "\" on, left to right, ignoring
// failures; the last component (the file name) is not created.
void CreatePathDirectories(const std::string& path);

// One restore run: iterates over the client's objects and asks the host to write every file
// object to its original path, or under `options.destination` by its stored name.
RunResult RunRestore(RestoreHost& host, const RestoreOptions& options, const std::string& clsid);
