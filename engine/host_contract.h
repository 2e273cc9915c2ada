#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the backup and restore runs ask of the host, in narrow text. The COM service adapts
// the host's IBackuper, IProgress and IRestorer to these; tests record them.

// HRESULT values, the same numbers on every build.
using RunResult = int32_t;
constexpr RunResult kRunOk = 0;
constexpr RunResult kRunFailed = static_cast<RunResult>(0x80004005);  // E_FAIL
inline bool RunSucceeded(RunResult r) { return r >= 0; }

class BackupHost {
 public:
  virtual ~BackupHost() = default;
  // Results of BeginClient, EndClient and Message are not looked at.
  virtual void BeginClient(const std::string& clientName, const std::string& clsid, int32_t totalWeight) = 0;
  virtual RunResult BackupFile(const std::string& fileName, const std::string& localName,
                               const std::string& actionName, int32_t weight, bool writeInLog) = 0;
  // The host's error text after a failed BackupFile (GetLastError); empty when it has none.
  virtual std::string LastErrorText() = 0;
  virtual void Message(const std::string& text) = 0;
  virtual void EndClient(int32_t deleteClient) = 0;
};

class RestoreHost {
 public:
  virtual ~RestoreHost() = default;
  virtual RunResult Iterate(const std::string& clsid) = 0;
  // True when the iteration is over, or IsEnd itself failed.
  virtual bool IsEnd() = 0;
  virtual RunResult GetObjectInfo(uint16_t& type, std::string& name) = 0;
  // The object's options bytes; nullopt when GetObjectOptions failed or gave no byte array.
  virtual std::optional<std::vector<uint8_t>> GetObjectOptions() = 0;
  // nullopt when RestoreFile returned (whatever its result); the code of the host's QnError
  // when it raised one.
  virtual std::optional<RunResult> RestoreFile(const std::string& fileName, int32_t option, bool writeInLog) = 0;
  virtual void Next() = 0;
};
