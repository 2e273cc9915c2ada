#include "engine/backup_run.h"

#include <algorithm>
#include <limits>
#include <type_traits>

#include "engine/selection_rules.h"
#include "model/module_strings.h"

namespace {

const char kActionName[] = "File Backup";
const char kNoFilesMessage[] = "No files to backup.";

void AppendEntry(const BackupEntry& entry, BackupItems& items, const RuleClock& clock) {
  std::visit(
      [&](const auto& e) {
        if constexpr (std::is_same_v<std::decay_t<decltype(e)>, CFolderEntry>) {
          CollectFolder(e, items, clock);
        } else {
          AddFileEntry(e, items, clock);
        }
      },
      entry);
}

// One file to the host; false when the host failed on it, after its error text is posted.
bool BackupOneFile(const BackupItem& item, BackupHost& host) {
  if (RunSucceeded(host.BackupFile(std::string(item.FileName), std::string(item.LocalName), kActionName, 1, true))) {
    return true;
  }
  host.Message(host.LastErrorText());
  return false;
}

}  // namespace

BackupItems BuildBackupList(const BackupList& entries, const RuleClock& clock) {
  BackupItems items;
  // Every entry appends its files already in the run's order; merging keeps the earlier
  // entry's file first among equals, so that of two spellings of one path the one collected
  // first is kept.
  for (const BackupEntry& entry : entries) {
    const size_t begin = items.size();
    AppendEntry(entry, items, clock);
    if (begin > 0) items.MergeAt(begin, PathBefore);
  }
  items.DropDuplicates(SamePath);
  return items;
}

RunResult RunBackup(const BackupItems& items, BackupHost& host, const std::string& clsid, int32_t& failedFiles) {
  failedFiles = 0;
  const size_t count = items.size();
  const auto totalWeight = static_cast<int32_t>(std::min<size_t>(count, std::numeric_limits<int32_t>::max()));
  host.BeginClient(ModuleString(IDS_CLIENT_NAME), clsid, totalWeight);
  if (count == 0) {
    host.Message(kNoFilesMessage);
    host.EndClient(1);
    return kRunOk;
  }

  size_t failed = 0;
  for (const BackupItem& item : items) {
    if (!BackupOneFile(item, host)) ++failed;
  }
  failedFiles = static_cast<int32_t>(std::min<size_t>(failed, std::numeric_limits<int32_t>::max()));
  // Every file refused: the host drops what it began for this client.
  host.EndClient(failed == count ? 1 : 0);
  return failed > 0 ? kRunFailed : kRunOk;
}
