#pragma once
// Rules of the backup page that qnhost applies too, so both change the stored list alike.
#include <optional>
#include <string>

#include "model/backup_entry.h"

// A mask list as typed ("doc | *.txt") in the form the backup page stores: masks without "."
// get "*." in front, letter-case duplicates are dropped, and the masks are joined by " | ".
// nullopt, with the reason in `error`, for a mask the page's validator refuses (empty, holding
// \ / : " < > or, on the exclude side, "*.*"). An empty exclude list is allowed; an include
// list needs a mask.
std::optional<std::string> NormalizeMaskList(const std::string& typed, bool excludeSide, std::string& error);

// One row per path: `entry` takes the place of the row of the same kind whose path is the
// same without regard to case, or is appended. True when it replaced a row.
bool PutBackupRow(BackupList& list, const BackupEntry& entry);
