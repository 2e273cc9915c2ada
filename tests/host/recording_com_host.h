#pragma once
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/dispatch_object.h"
#include "server/bstr.h"
#include "server/qn_error.h"
#include "server/variant_bytes.h"

// The host's three interfaces as COM objects of this program, writing down every call the
// module makes with its arguments (one line per call, in one shared log), and failing or
// raising QnError where a test tells them to.

inline std::string Call(const std::string& name, std::initializer_list<std::string> args = {}) {
  std::string text = name + "(";
  for (const std::string& arg : args) text += (text.back() == '(' ? "" : ", ") + arg;
  return text + ")";
}

using CallLog = std::vector<std::string>;

class RecordingProgress final : public DispatchObject<IProgress> {
 public:
  explicit RecordingProgress(CallLog& log) : log_(log) {}
  STDMETHODIMP Clean() override { return Unexpected("Clean"); }
  STDMETHODIMP FirstStep(BSTR, long) override { return Unexpected("FirstStep"); }
  STDMETHODIMP NextStep(BSTR, long) override { return Unexpected("NextStep"); }
  STDMETHODIMP Message(BSTR msg) override {
    log_.push_back(Call("Message", {NarrowFromBstr(msg)}));
    return S_OK;
  }
  STDMETHODIMP Prompt(BSTR, UINT, int*) override { return Unexpected("Prompt"); }
  STDMETHODIMP ClientError(HRESULT, BSTR, int, int*) override { return Unexpected("ClientError"); }

 private:
  HRESULT Unexpected(const char* name) {
    log_.push_back(Call(name));
    return E_NOTIMPL;
  }
  CallLog& log_;
};

// Fails BackupFile for the listed paths with E_ACCESSDENIED; GetLastError then hands out
// the failure's text, or no string at all for a null text.
class RecordingBackuper final : public DispatchObject<IBackuper> {
 public:
  RecordingBackuper(CallLog& log, std::map<std::string, std::optional<std::string>> failing)
      : log_(log), failing_(std::move(failing)) {}

  STDMETHODIMP BeginClient(BSTR ClientName, BSTR Clsid, int nTotalWeight) override {
    log_.push_back(Call("BeginClient", {NarrowFromBstr(ClientName), NarrowFromBstr(Clsid), std::to_string(nTotalWeight)}));
    return E_FAIL;  // not looked at
  }
  STDMETHODIMP EndClient(int iDeleteClient) override {
    log_.push_back(Call("EndClient", {std::to_string(iDeleteClient)}));
    return E_FAIL;  // not looked at
  }
  STDMETHODIMP BackupFile(BSTR FileName, BSTR LocalName, BSTR ActionName, int nWeight, VARIANT_BOOL fWriteInLog) override {
    const std::string file = NarrowFromBstr(FileName);
    log_.push_back(Call("BackupFile", {file, NarrowFromBstr(LocalName), NarrowFromBstr(ActionName),
                                       std::to_string(nWeight), std::to_string(fWriteInLog)}));
    const auto failing = failing_.find(file);
    if (failing == failing_.end()) return S_OK;
    lastError_ = failing->second;
    return E_ACCESSDENIED;
  }
  STDMETHODIMP GetLastError(int* pErrCode, BSTR* pText) override {
    log_.push_back(Call("GetLastError"));
    *pErrCode = 5;
    *pText = lastError_ ? WidenToBstr(*lastError_).Detach() : nullptr;
    return S_OK;
  }
  STDMETHODIMP SetProgress(IProgress*) override { return Unexpected("SetProgress"); }
  STDMETHODIMP SetVersionInfo(long, long) override { return Unexpected("SetVersionInfo"); }
  STDMETHODIMP SetArchiveInfo(BSTR, BSTR, BSTR, BSTR, DATE, long) override { return Unexpected("SetArchiveInfo"); }
  STDMETHODIMP BackupRegistryKey(BSTR, BSTR, int) override { return Unexpected("BackupRegistryKey"); }
  STDMETHODIMP SetClientOptions(BSTR, BSTR, VARIANT) override { return Unexpected("SetClientOptions"); }
  STDMETHODIMP GetClientOptions(BSTR, VARIANT*) override { return Unexpected("GetClientOptions"); }
  STDMETHODIMP StartBackup() override { return Unexpected("StartBackup"); }
  STDMETHODIMP FinishBackup(int) override { return Unexpected("FinishBackup"); }
  STDMETHODIMP BeginBackupString(BSTR, BSTR, BSTR, int, VARIANT_BOOL) override { return Unexpected("BeginBackupString"); }
  STDMETHODIMP BackupNextPartOfString(BSTR) override { return Unexpected("BackupNextPartOfString"); }
  STDMETHODIMP EndBackupString() override { return Unexpected("EndBackupString"); }

 private:
  HRESULT Unexpected(const char* name) {
    log_.push_back(Call(name));
    return E_NOTIMPL;
  }
  CallLog& log_;
  std::map<std::string, std::optional<std::string>> failing_;
  std::optional<std::string> lastError_;
};

// What GetObjectOptions hands back for an object.
enum class OptionsForm { kBytes, kFails, kText, kTwoDimensions };

struct RecordedObject {
  uint16_t type = 0;
  std::string name;
  OptionsForm form = OptionsForm::kBytes;
  std::vector<uint8_t> options;
  HRESULT infoResult = S_OK;
  std::optional<HRESULT> raises;  // the code of the QnError RestoreFile raises
};

struct RestorerScript {
  std::vector<RecordedObject> objects;
  HRESULT iterateResult = S_OK;
  HRESULT isEndResult = S_OK;
};

class RecordingRestorer final : public DispatchObject<IRestorer> {
 public:
  RecordingRestorer(CallLog& log, RestorerScript script) : log_(log), script_(std::move(script)) {}

  STDMETHODIMP Iterate(BSTR Clsid) override {
    log_.push_back(Call("Iterate", {NarrowFromBstr(Clsid)}));
    return script_.iterateResult;
  }
  STDMETHODIMP IsEnd(VARIANT_BOOL* pIsEnd) override {
    log_.push_back(Call("IsEnd"));
    *pIsEnd = next_ < script_.objects.size() ? VARIANT_FALSE : VARIANT_TRUE;
    return script_.isEndResult;
  }
  STDMETHODIMP GetObjectInfo(USHORT* pType, BSTR* pName, LONG* pWeight) override {
    log_.push_back(Call("GetObjectInfo"));
    const RecordedObject& object = Current();
    *pType = object.type;
    *pName = WidenToBstr(object.name).Detach();
    *pWeight = 1;
    return object.infoResult;
  }
  STDMETHODIMP GetObjectOptions(VARIANT* pOptions) override {
    log_.push_back(Call("GetObjectOptions"));
    const RecordedObject& object = Current();
    VariantInit(pOptions);
    switch (object.form) {
      case OptionsForm::kBytes: VariantFromBytes(object.options, *pOptions); return S_OK;
      case OptionsForm::kFails: return E_FAIL;
      case OptionsForm::kText:
        V_VT(pOptions) = VT_BSTR;
        V_BSTR(pOptions) = WidenToBstr(std::string(object.options.begin(), object.options.end())).Detach();
        return S_OK;
      case OptionsForm::kTwoDimensions: {
        SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(object.options.size()), 0}, {1, 0}};
        V_VT(pOptions) = VT_ARRAY | VT_UI1;
        V_ARRAY(pOptions) = SafeArrayCreate(VT_UI1, 2, bounds);
        return S_OK;
      }
    }
    return E_UNEXPECTED;
  }
  STDMETHODIMP RestoreFile(BSTR FileName, LONG nOption, VARIANT_BOOL fWriteInLog) override {
    log_.push_back(Call("RestoreFile", {NarrowFromBstr(FileName), std::to_string(nOption), std::to_string(fWriteInLog)}));
    if (Current().raises) throw QnError{*Current().raises};
    return E_FAIL;  // not looked at
  }
  STDMETHODIMP Next() override {
    log_.push_back(Call("Next"));
    ++next_;
    return S_OK;
  }
  STDMETHODIMP SetProgress(IProgress*) override { return Unexpected("SetProgress"); }
  STDMETHODIMP GetVersionInfo(long*, long*) override { return Unexpected("GetVersionInfo"); }
  STDMETHODIMP GetArchiveInfo(BSTR, BSTR*, BSTR*, BSTR*, DATE*, long*) override { return Unexpected("GetArchiveInfo"); }
  STDMETHODIMP GetClient(int, BSTR*, BSTR*) override { return Unexpected("GetClient"); }
  STDMETHODIMP GetClientOptions(BSTR, VARIANT*) override { return Unexpected("GetClientOptions"); }
  STDMETHODIMP RestoreRegistryKey(BSTR) override { return Unexpected("RestoreRegistryKey"); }
  STDMETHODIMP BeginRestoreString(char*, LONG, LONG*, LONG*) override { return Unexpected("BeginRestoreString"); }
  STDMETHODIMP RestoreNextPartOfString(char*, LONG, LONG*) override { return Unexpected("RestoreNextPartOfString"); }

 private:
  HRESULT Unexpected(const char* name) {
    log_.push_back(Call(name));
    return E_NOTIMPL;
  }
  // The module must not ask about an object after IsEnd said there was none.
  const RecordedObject& Current() {
    static const RecordedObject kPastTheEnd{0xFFFF, "", OptionsForm::kFails, {}, E_UNEXPECTED, std::nullopt};
    if (next_ < script_.objects.size()) return script_.objects[next_];
    ADD_FAILURE() << "the module went past the last object";
    return kPastTheEnd;
  }

  CallLog& log_;
  RestorerScript script_;
  size_t next_ = 0;
};
