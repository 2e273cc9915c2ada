#pragma once
#include <string>

#include "bkqnfiles.h"
#include "engine/host_contract.h"

// The restore run's host over the host's IRestorer. Every string and value the host hands
// back is freed here; QnError raised by RestoreFile is caught and its code handed on.
class ComRestoreHost final : public RestoreHost {
 public:
  explicit ComRestoreHost(IRestorer& restorer) : m_restorer(restorer) {}

  RunResult Iterate(const std::string& clsid) override;
  bool IsEnd() override;
  RunResult GetObjectInfo(uint16_t& type, std::string& name) override;
  std::optional<std::vector<uint8_t>> GetObjectOptions() override;
  std::optional<RunResult> RestoreFile(const std::string& fileName, int32_t option, bool writeInLog) override;
  void Next() override;

 private:
  IRestorer& m_restorer;
};
