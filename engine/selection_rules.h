#pragma once
#include <string>

#include "engine/backup_item.h"
#include "engine/date_rules.h"
#include "model/file_entry.h"
#include "model/folder_entry.h"

// Appends the files a folder entry selects: every file under its folder (and subfolders when
// recursive) that an include mask matches, that no exclude mask matches, that is neither a
// directory nor temporary, and that passes the date rules. They come ordered by PathBefore,
// equal paths in the order they are collected (include mask by include mask, each walking the
// tree). A file matched by two include masks is appended twice; the run drops the duplicate.
void CollectFolder(const CFolderEntry& entry, BackupItems& items, const RuleClock& clock = CurrentRuleClock());

// Appends a file entry's file when it exists and its rule holds.
void AddFileEntry(const CFileEntry& entry, BackupItems& items, const RuleClock& clock = CurrentRuleClock());

// Whether a file last written on `fileDay` (a UTC day) satisfies the entry's include rule and
// not its exclude rule.
bool MatchDateRules(int64_t fileDay, const CFolderEntry& entry, const RuleClock& clock);
