#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/backup_entry.h"

// Where the module keeps its per-user settings and how it reads and writes them.

// "HKEY_CURRENT_USER\SOFTWARE\Korvel\Tessarine" joined with the service's class identifier.
std::string SettingsKeyBase();
// The service key joined with "backuper" (the backup list) or "restorer" (restore options).
std::string BackupListKey();
std::string RestoreOptionsKey();

// The entries stored under `key`, in the registry's enumeration order: values whose names
// begin with "FILE" in any case, folder form tried before file form; empty and unparseable
// texts ignored.
BackupList ReadBackupList(const std::string& key);
// Deletes every value of `key`, then writes "file0", "file1", ... in row order.
void SaveBackupList(const std::string& key, const BackupList& entries);
// The same for texts already formatted (an empty one stands for a row the next load skips).
void SaveBackupListTexts(const std::string& key, const std::vector<std::string>& texts);
// Whether `key` holds a value whose name begins with "FILE" in any case (texts not read).
bool HasBackupListValues(const std::string& key);

struct RestoreOptions {
  std::string destination;  // empty: every file goes back where it came from
  uint32_t overwrite = 0;   // 1: existing files are overwritten
};
RestoreOptions ReadRestoreOptions(const std::string& key);
void SaveRestoreOptions(const std::string& key, const RestoreOptions& options);
