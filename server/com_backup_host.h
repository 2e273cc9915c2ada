#pragma once
#include <string>

#include "bkqnfiles.h"
#include "engine/host_contract.h"

// The backup run's host over the host's IBackuper and IProgress. Texts are widened into COM
// strings for each call (ComError{E_OUTOFMEMORY} when that fails); the results the run does
// not look at are dropped here. A missing IProgress swallows the messages.
class ComBackupHost final : public BackupHost {
 public:
  ComBackupHost(IBackuper& backuper, IProgress* progress) : m_backuper(backuper), m_pProgress(progress) {}

  void BeginClient(const std::string& clientName, const std::string& clsid, int32_t totalWeight) override;
  RunResult BackupFile(const std::string& fileName, const std::string& localName, const std::string& actionName,
                       int32_t weight, bool writeInLog) override;
  std::string LastErrorText() override;
  void Message(const std::string& text) override;
  void EndClient(int32_t deleteClient) override;

 private:
  IBackuper& m_backuper;
  IProgress* m_pProgress;
};
