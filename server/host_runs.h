#pragma once
#include <objbase.h>

#include <cstdint>
#include <string>

#include "bkqnfiles.h"

// The service's two runs over the host's COM interfaces: they adapt IBackuper, IProgress and
// IRestorer to the engine's runs, free every string and value the host hands back, and catch
// the host's QnError around RestoreFile.

// Reads the stored backup list under `serviceKey`, builds the run list and hands every file to
// the host. `failedFiles` receives the count of files the host failed on.
HRESULT RunComBackup(IBackuper* backuper, IProgress* progress, const std::string& serviceKey,
                     const std::string& clsid, int32_t& failedFiles);

// Reads the restore options under `serviceKey` and restores the client's objects.
HRESULT RunComRestore(IRestorer* restorer, const std::string& serviceKey, const std::string& clsid);
