#pragma once
#include "engine/backup_item.h"
#include "engine/date_rules.h"
#include "model/folder_entry.h"

// The straightforward folder selection, kept as the reference the optimised one must equal:
// one walk of the whole tree per exclude mask into a set of excluded paths, one walk per
// include mask, and one more search per candidate file for its last-write time.
namespace reference {
void CollectFolder(const CFolderEntry& entry, BackupItems& items, const RuleClock& clock);
}
