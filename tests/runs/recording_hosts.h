#pragma once
#include <gtest/gtest.h>

#include "engine/host_contract.h"
#include "tests/support/call_log.h"

// Hosts that write down every call with its arguments, one line per call, so that a test
// states the whole conversation a run has with its host.

// Refuses BackupFile for one path, with an error text naming it.
class RecordingBackupHost : public BackupHost {
 public:
  explicit RecordingBackupHost(std::string refused) : m_strRefused(std::move(refused)) {}

  void BeginClient(const std::string& client, const std::string& clsid, int32_t weight) override {
    calls.push_back(Call("BeginClient", {client, clsid, std::to_string(weight)}));
  }
  RunResult BackupFile(const std::string& file, const std::string& local, const std::string& action, int32_t weight,
                       bool log) override {
    calls.push_back(Call("BackupFile", {file, local, action, std::to_string(weight), log ? "true" : "false"}));
    m_strLastError = "cannot read " + file;
    return file == m_strRefused ? static_cast<RunResult>(0x80070005) : kRunOk;
  }
  std::string LastErrorText() override {
    calls.push_back(Call("GetLastError"));
    return m_strLastError;
  }
  void Message(const std::string& text) override { calls.push_back(Call("Message", {text})); }
  void EndClient(int32_t deleteClient) override { calls.push_back(Call("EndClient", {std::to_string(deleteClient)})); }

  CallLog calls;

 private:
  std::string m_strRefused;
  std::string m_strLastError;
};

// One object of the archive the restore host iterates over, and how the host treats it.
struct ScriptedObject {
  uint16_t type;
  std::string name;
  std::optional<std::vector<uint8_t>> options = std::nullopt;
  std::optional<RunResult> raises = std::nullopt;  // the code of the QnError RestoreFile raises
};

class RecordingRestoreHost : public RestoreHost {
 public:
  RecordingRestoreHost(std::vector<ScriptedObject> objects, RunResult iterateResult)
      : m_objects(std::move(objects)), m_nIterateResult(iterateResult) {}

  RunResult Iterate(const std::string& clsid) override {
    calls.push_back(Call("Iterate", {clsid}));
    return m_nIterateResult;
  }
  bool IsEnd() override {
    calls.push_back(Call("IsEnd"));
    return m_nNext >= m_objects.size();
  }
  RunResult GetObjectInfo(uint16_t& type, std::string& name) override {
    calls.push_back(Call("GetObjectInfo"));
    type = Current().type;
    name = Current().name;
    return kRunOk;
  }
  std::optional<std::vector<uint8_t>> GetObjectOptions() override {
    calls.push_back(Call("GetObjectOptions"));
    return Current().options;
  }
  std::optional<RunResult> RestoreFile(const std::string& file, int32_t option, bool log) override {
    calls.push_back(Call("RestoreFile", {file, std::to_string(option), log ? "true" : "false"}));
    return Current().raises;
  }
  void Next() override {
    calls.push_back(Call("Next"));
    ++m_nNext;
  }

  CallLog calls;

 private:
  // The run must not ask about an object after IsEnd said there was none.
  const ScriptedObject& Current() {
    static const ScriptedObject kPastTheEnd{0xFFFF, ""};
    if (m_nNext < m_objects.size()) return m_objects[m_nNext];
    ADD_FAILURE() << "the run went past the last object";
    return kPastTheEnd;
  }

  std::vector<ScriptedObject> m_objects;
  RunResult m_nIterateResult;
  size_t m_nNext = 0;
};

// Object options as the host stores them: a 28-byte header the module must not read, the
// name, its zero byte, and whatever follows.
inline std::vector<uint8_t> OptionsNaming(const std::string& name, const std::string& after = "") {
  std::vector<uint8_t> bytes(28, 0xAB);
  bytes.insert(bytes.end(), name.begin(), name.end());
  bytes.push_back(0);
  bytes.insert(bytes.end(), after.begin(), after.end());
  return bytes;
}
