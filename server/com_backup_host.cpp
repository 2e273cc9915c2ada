#include "server/com_backup_host.h"

#include "server/bstr.h"

void ComBackupHost::BeginClient(const std::string& clientName, const std::string& clsid, int32_t totalWeight) {
  const UniqueBstr name = WidenToBstr(clientName);
  const UniqueBstr id = WidenToBstr(clsid);
  m_backuper.BeginClient(name.get(), id.get(), totalWeight);
}

RunResult ComBackupHost::BackupFile(const std::string& fileName, const std::string& localName,
                                    const std::string& actionName, int32_t weight, bool writeInLog) {
  const UniqueBstr file = WidenToBstr(fileName);
  const UniqueBstr local = WidenToBstr(localName);
  const UniqueBstr action = WidenToBstr(actionName);
  return m_backuper.BackupFile(file.get(), local.get(), action.get(), weight,
                              writeInLog ? VARIANT_TRUE : VARIANT_FALSE);
}

std::string ComBackupHost::LastErrorText() {
  int code = 0;
  UniqueBstr text;
  // Whatever the result, a text the host did hand out is taken and freed.
  m_backuper.GetLastError(&code, text.put());
  return NarrowFromBstr(text.get());
}

void ComBackupHost::Message(const std::string& text) {
  if (!m_pProgress) return;
  const UniqueBstr message = WidenToBstr(text);
  m_pProgress->Message(message.get());
}

void ComBackupHost::EndClient(int32_t deleteClient) { m_backuper.EndClient(deleteClient); }
