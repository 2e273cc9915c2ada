#pragma once
// How the backup page and its dialogs edit their lists, as qnhost does too, so both change the
// stored list alike. (The list's order and the tree's rules are model/backup_page_rules.h.)
#include <optional>
#include <string>

#include "model/backup_entry.h"

// A mask list as typed ("doc | *.txt") in the form the backup page stores: masks without "."
// get "*." in front, letter-case duplicates are dropped, and the masks are joined by " | ".
// nullopt, with the reason in `error`, for a mask the page's validator refuses (empty, holding
// \ / : " < > or, on the exclude side, "*.*"). An empty exclude list is allowed; an include
// list needs a mask.
std::optional<std::string> NormalizeMaskList(const std::string& typed, bool excludeSide, std::string& error);

// One row per path: `entry` takes the place of the row of the same kind whose path names the
// same row (equal RowKey), or is appended. True when it replaced a row.
bool PutBackupRow(BackupList& list, const BackupEntry& entry);
