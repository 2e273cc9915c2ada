#include "server/host_runs.h"

#include "engine/backup_run.h"
#include "engine/restore_run.h"
#include "model/join_path.h"
#include "model/module_strings.h"
#include "model/settings_store.h"
#include "server/com_backup_host.h"
#include "server/com_restore_host.h"

HRESULT RunComBackup(IBackuper* backuper, IProgress* progress, const std::string& serviceKey,
                     const std::string& clsid, int32_t& failedFiles) {
  failedFiles = 0;
  if (!backuper) return E_POINTER;
  // The whole list is gathered before the host hears of the run.
  const BackupItems items =
      BuildBackupList(ReadBackupList(JoinPath(serviceKey, ModuleString(IDS_BACKUP_LIST_KEY))));
  ComBackupHost host(*backuper, progress);
  return RunBackup(items, host, clsid, failedFiles);
}

HRESULT RunComRestore(IRestorer* restorer, const std::string& serviceKey, const std::string& clsid) {
  if (!restorer) return E_POINTER;
  const RestoreOptions options = ReadRestoreOptions(JoinPath(serviceKey, ModuleString(IDS_RESTORE_OPTIONS_KEY)));
  ComRestoreHost host(*restorer);
  return RunRestore(host, options, clsid);
}
