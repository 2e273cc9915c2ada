#include "server/com_backup_host.h"

#include "server/bstr.h"

void ComBackupHost::BeginClient(const std::string& clientName, const std::string& clsid, int32_t totalWeight) {
  const UniqueBstr name = WidenToBstr(clientName);
  const UniqueBstr id = WidenToBstr(clsid);
  backuper_.BeginClient(name.get(), id.get(), totalWeight);
}

RunResult ComBackupHost::BackupFile(const std::string& fileName, const std::string& localName,
                                    const std::string& actionName, int32_t weight, bool writeInLog) {
  const UniqueBstr file = WidenToBstr(fileName);
  const UniqueBstr local = WidenToBstr(localName);
  const UniqueBstr action = WidenToBstr(actionName);
  return backuper_.BackupFile(file.get(), local.get(), action.get(), weight,
                              writeInLog ? VARIANT_TRUE : VARIANT_FALSE);
}

std::string ComBackupHost::LastErrorText() {
  int code = 0;
  UniqueBstr text;
  // Whatever the result, a text the host did hand out is taken and freed.
  backuper_.GetLastError(&code, text.put());
  return NarrowFromBstr(text.get());
}

void ComBackupHost::Message(const std::string& text) {
  if (!progress_) return;
  const UniqueBstr message = WidenToBstr(text);
  progress_->Message(message.get());
}

void ComBackupHost::EndClient(int32_t deleteClient) { backuper_.EndClient(deleteClient); }
