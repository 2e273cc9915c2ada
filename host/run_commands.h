#pragma once
#include <string>

#include "host/command_line.h"

// The commands that load client modules and run them over a folder archive; each returns
// the program's exit code (ExitCode).
int ShowClients();
int BackupToArchive(const std::string& archive);
// Every client's real Backup against a host that lists the files instead of copying them.
int DryRunBackup(bool human);
int RestoreFromArchive(const Command& command);
int ShowArchive(const std::string& archive);
