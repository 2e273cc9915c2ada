#pragma once
#include <string>

#include "host/command_line.h"

// The commands that load client modules and run them over a folder archive; each returns
// the program's exit code (1 when anything failed).
int ShowClients();
int BackupToArchive(const std::string& archive);
int RestoreFromArchive(const Command& command);
int ShowArchive(const std::string& archive);
