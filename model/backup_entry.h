#pragma once
#include <variant>
#include <vector>

#include "model/file_entry.h"
#include "model/folder_entry.h"

// One row of the backup list; folder and file entries interleave freely, in row order.
using BackupEntry = std::variant<CFolderEntry, CFileEntry>;
using BackupList = std::vector<BackupEntry>;
