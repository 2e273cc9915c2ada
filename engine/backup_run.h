#pragma once
#include <cstdint>
#include <string>

#include "engine/backup_item.h"
#include "engine/date_rules.h"
#include "engine/host_contract.h"
#include "model/backup_entry.h"

// Expands the entries in order, then sorts by path without regard to case and drops every
// item whose path equals the one before it (ignoring case).
BackupItems BuildBackupList(const BackupList& entries, const RuleClock& clock = CurrentRuleClock());

// One backup run over an already built list: BeginClient with the number of files, one
// BackupFile per file (a failure is counted, its text posted with Message, and the run goes
// on), EndClient (1 when the list is empty or every file failed). kRunFailed when any file
// failed, else kRunOk. `failedFiles` receives the count.
RunResult RunBackup(const BackupItems& items, BackupHost& host, const std::string& clsid, int32_t& failedFiles);
