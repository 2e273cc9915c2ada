#pragma once
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/dispatch_object.h"
#include "server/bstr.h"
#include "server/qn_error.h"
#include "server/variant.h"
#include "server/variant_bytes.h"
#include "tests/support/call_log.h"

// The host's three interfaces as COM objects of this program, writing down every call the
// module makes with its arguments (one line per call, in one shared log), and failing, handing
// out null strings or raising QnError where a test tells them to. What they cannot allocate
// they do not hand out: the call returns E_OUTOFMEMORY instead.

// A new COM string, or null when task memory ran out.
inline BSTR NewText(const std::string& text) {
  try {
    return WidenToBstr(text).release();
  } catch (const ComError&) {
    return nullptr;
  }
}

template <typename Interface>
class Recording : public DispatchObject<Interface> {
 protected:
  explicit Recording(CallLog& log) : m_log(log) {}
  template <typename... Args>
  HRESULT Record(HRESULT result, const char* name, Args... args) {
    m_log.push_back(Call(name, {Text(args)...}));
    return result;
  }

 private:
  static std::string Text(BSTR text) { return NarrowFromBstr(text); }
  static std::string Text(long number) { return std::to_string(number); }
  CallLog& m_log;
};

// The registered module's service object, as the host makes it.
inline ComPtr<IBkQnService> NewService() {
  ComPtr<IBkQnService> service;
  EXPECT_HRESULT_SUCCEEDED(
      CoCreateInstance(CLSID_BkQnFilesSrv, nullptr, CLSCTX_INPROC_SERVER, IID_IBkQnService, service.put_void()));
  return service;
}

// An operation the module has no business calling: written down and refused.
#define UNEXPECTED_CALL(name, parameters) \
  STDMETHODIMP name parameters override { return Record(E_NOTIMPL, #name); }

// Message returns `result`, which the module does not look at.
class RecordingProgress final : public Recording<IProgress> {
 public:
  RecordingProgress(CallLog& log, HRESULT result) : Recording(log), m_hr(result) {}
  STDMETHODIMP Message(BSTR msg) override { return Record(m_hr, "Message", msg); }
  UNEXPECTED_CALL(Clean, ())
  UNEXPECTED_CALL(FirstStep, (BSTR, long))
  UNEXPECTED_CALL(NextStep, (BSTR, long))
  UNEXPECTED_CALL(Prompt, (BSTR, UINT, int*))
  UNEXPECTED_CALL(ClientError, (HRESULT, BSTR, int, int*))

 private:
  HRESULT m_hr;
};

struct BackuperScript {
  // BackupFile fails with E_ACCESSDENIED for these paths; GetLastError then hands out the
  // text, or a null string for nullopt.
  std::map<std::string, std::optional<std::string>> failing;
  HRESULT ignored = S_OK;  // what BeginClient, GetLastError and EndClient return
};

class RecordingBackuper final : public Recording<IBackuper> {
 public:
  RecordingBackuper(CallLog& log, BackuperScript script) : Recording(log), m_script(std::move(script)) {}

  STDMETHODIMP BeginClient(BSTR ClientName, BSTR Clsid, int nTotalWeight) override {
    return Record(m_script.ignored, "BeginClient", ClientName, Clsid, long{nTotalWeight});
  }
  STDMETHODIMP BackupFile(BSTR FileName, BSTR LocalName, BSTR ActionName, int nWeight,
                          VARIANT_BOOL fWriteInLog) override {
    const auto failing = m_script.failing.find(NarrowFromBstr(FileName));
    m_strLastError = failing == m_script.failing.end() ? std::nullopt : failing->second;
    return Record(failing == m_script.failing.end() ? S_OK : E_ACCESSDENIED, "BackupFile", FileName, LocalName,
                  ActionName, long{nWeight}, long{fWriteInLog});
  }
  STDMETHODIMP GetLastError(int* pErrCode, BSTR* pText) override {
    *pErrCode = 5;
    *pText = m_strLastError ? NewText(*m_strLastError) : nullptr;
    return Record(m_strLastError && !*pText ? E_OUTOFMEMORY : m_script.ignored, "GetLastError");
  }
  STDMETHODIMP EndClient(int iDeleteClient) override {
    return Record(m_script.ignored, "EndClient", long{iDeleteClient});
  }
  UNEXPECTED_CALL(SetProgress, (IProgress*))
  UNEXPECTED_CALL(SetVersionInfo, (long, long))
  UNEXPECTED_CALL(SetArchiveInfo, (BSTR, BSTR, BSTR, BSTR, DATE, long))
  UNEXPECTED_CALL(BackupRegistryKey, (BSTR, BSTR, int))
  UNEXPECTED_CALL(SetClientOptions, (BSTR, BSTR, VARIANT))
  UNEXPECTED_CALL(GetClientOptions, (BSTR, VARIANT*))
  UNEXPECTED_CALL(StartBackup, ())
  UNEXPECTED_CALL(FinishBackup, (int))
  UNEXPECTED_CALL(BeginBackupString, (BSTR, BSTR, BSTR, int, VARIANT_BOOL))
  UNEXPECTED_CALL(BackupNextPartOfString, (BSTR))
  UNEXPECTED_CALL(EndBackupString, ())

 private:
  BackuperScript m_script;
  std::optional<std::string> m_strLastError;
};

// What GetObjectOptions hands back for an object.
enum class OptionsForm { kBytes, kFails, kText, kTwoDimensions, kNullArray };

struct RecordedObject {
  std::optional<std::string> name;  // nullopt: GetObjectInfo hands out a null string
  std::vector<uint8_t> options = {};
  OptionsForm form = OptionsForm::kBytes;
  uint16_t type = 0;
  HRESULT infoResult = S_OK;
  std::optional<HRESULT> raises = std::nullopt;  // the code of the QnError RestoreFile raises
};

// A file the host backed up from C:\from, with its object options as a host stores them: a
// 28-byte header the module must not read, then the name and its zero byte.
inline RecordedObject Stored(const std::string& name, OptionsForm form = OptionsForm::kBytes) {
  const std::string bytes = std::string(28, '\xAB') + name + '\0';
  return {"C:\\from\\" + name, {bytes.begin(), bytes.end()}, form};
}

struct RestorerScript {
  std::vector<RecordedObject> objects;
  HRESULT iterateResult = S_OK;
  size_t isEndFailsAt = SIZE_MAX;  // IsEnd fails when asked at this object
};

class RecordingRestorer final : public Recording<IRestorer> {
 public:
  RecordingRestorer(CallLog& log, RestorerScript script) : Recording(log), m_script(std::move(script)) {}

  STDMETHODIMP Iterate(BSTR Clsid) override { return Record(m_script.iterateResult, "Iterate", Clsid); }
  // 1 rather than VARIANT_TRUE: any nonzero flag ends the iteration.
  STDMETHODIMP IsEnd(VARIANT_BOOL* pIsEnd) override {
    *pIsEnd = m_nNext < m_script.objects.size() ? VARIANT_FALSE : 1;
    return Record(m_nNext == m_script.isEndFailsAt ? E_FAIL : S_OK, "IsEnd");
  }
  STDMETHODIMP GetObjectInfo(USHORT* pType, BSTR* pName, LONG* pWeight) override {
    *pType = Current().type;
    *pName = Current().name ? NewText(*Current().name) : nullptr;
    *pWeight = 1;
    return Record(Current().name && !*pName ? E_OUTOFMEMORY : Current().infoResult, "GetObjectInfo");
  }
  STDMETHODIMP GetObjectOptions(VARIANT* pOptions) override {
    VariantInit(pOptions);
    return Record(MakeOptions(Current(), *pOptions), "GetObjectOptions");
  }
  STDMETHODIMP RestoreFile(BSTR FileName, LONG nOption, VARIANT_BOOL fWriteInLog) override {
    Record(S_OK, "RestoreFile", FileName, nOption, long{fWriteInLog});
    if (Current().raises) throw QnError{*Current().raises};
    return E_FAIL;  // not looked at
  }
  STDMETHODIMP Next() override {
    ++m_nNext;
    return Record(S_OK, "Next");
  }
  UNEXPECTED_CALL(SetProgress, (IProgress*))
  UNEXPECTED_CALL(GetVersionInfo, (long*, long*))
  UNEXPECTED_CALL(GetArchiveInfo, (BSTR, BSTR*, BSTR*, BSTR*, DATE*, long*))
  UNEXPECTED_CALL(GetClient, (int, BSTR*, BSTR*))
  UNEXPECTED_CALL(GetClientOptions, (BSTR, VARIANT*))
  UNEXPECTED_CALL(RestoreRegistryKey, (BSTR))
  UNEXPECTED_CALL(BeginRestoreString, (char*, LONG, LONG*, LONG*))
  UNEXPECTED_CALL(RestoreNextPartOfString, (char*, LONG, LONG*))

 private:
  static HRESULT MakeOptions(const RecordedObject& object, VARIANT& out) {
    SAFEARRAYBOUND twoDimensions[2] = {{static_cast<ULONG>(object.options.size()), 0}, {1, 0}};
    UniqueVariant made;
    switch (object.form) {
      case OptionsForm::kBytes: return VariantFromBytes(object.options, out) ? S_OK : E_OUTOFMEMORY;
      case OptionsForm::kFails: return E_FAIL;
      case OptionsForm::kText:
        made.set_bstr(UniqueBstr(NewText(std::string(object.options.begin(), object.options.end()))));
        if (!V_BSTR(made.get())) return E_OUTOFMEMORY;
        break;
      case OptionsForm::kTwoDimensions:
        made.set_array(SafeArrayCreate(VT_UI1, 2, twoDimensions), VT_UI1);
        if (!V_ARRAY(made.get())) return E_OUTOFMEMORY;
        break;
      case OptionsForm::kNullArray:
        made.set_array(nullptr, VT_UI1);
        break;
    }
    out = made.release();
    return S_OK;
  }
  // The module must not ask about an object after IsEnd said there was none.
  const RecordedObject& Current() {
    static const RecordedObject kPastTheEnd{"", {}, OptionsForm::kFails, 0xFFFF, E_UNEXPECTED};
    if (m_nNext < m_script.objects.size()) return m_script.objects[m_nNext];
    ADD_FAILURE() << "the module went past the last object";
    return kPastTheEnd;
  }

  RestorerScript m_script;
  size_t m_nNext = 0;
};

#undef UNEXPECTED_CALL
