#pragma once
#include "host/command_line.h"

// The backup list commands; each returns the program's exit code. They change the stored
// list the way the backup page does: read it, change it, save every row again.
int AddEntry(const Command& command);
int ListEntries();
int ClearEntries();
