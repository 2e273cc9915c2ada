#pragma once
#include <string>
#include <vector>

#include "host/archive_index.h"
#include "host/dispatch_object.h"
#include "host/progress_bar.h"

// The host's IRestorer over a folder archive: iterates over one client's objects and copies
// a file's archived copy wherever the client asks. An existing target is replaced only with
// nOption 1; otherwise the file fails and the target is kept. A copy that is missing from
// the archive or has another size than the index recorded means the archive is damaged:
// RestoreFile then raises QnError with HRESULT_FROM_WIN32(ERROR_FILE_CORRUPT), which ends
// the client's restore.
class ArchiveRestorer final : public DispatchObject<IRestorer> {
 public:
  ArchiveRestorer(std::string folder, std::vector<ArchiveObject> objects, ProgressBar& bar)
      : folder_(std::move(folder)), objects_(std::move(objects)), bar_(bar) {}

  int RestoredFiles() const { return restoredFiles_; }
  int FailedFiles() const { return failedFiles_; }

  STDMETHODIMP SetProgress(IProgress*) override { return S_OK; }
  STDMETHODIMP GetVersionInfo(long*, long*) override { return E_NOTIMPL; }
  STDMETHODIMP GetArchiveInfo(BSTR, BSTR*, BSTR*, BSTR*, DATE*, long*) override { return E_NOTIMPL; }
  STDMETHODIMP GetClient(int, BSTR*, BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP GetClientOptions(BSTR, VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP Iterate(BSTR Clsid) override;
  STDMETHODIMP Next() override;
  STDMETHODIMP IsEnd(VARIANT_BOOL* pIsEnd) override;
  STDMETHODIMP GetObjectInfo(USHORT* pType, BSTR* pName, LONG* pWeight) override;
  STDMETHODIMP RestoreFile(BSTR FileName, LONG nOption, VARIANT_BOOL fWriteInLog) override;
  STDMETHODIMP RestoreRegistryKey(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP GetObjectOptions(VARIANT* pOptions) override;
  STDMETHODIMP BeginRestoreString(char*, LONG, LONG*, LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP RestoreNextPartOfString(char*, LONG, LONG*) override { return E_NOTIMPL; }

 private:
  const ArchiveObject* Current() const;
  HRESULT Fail(const std::string& text, HRESULT hr);

  std::string folder_;
  std::vector<ArchiveObject> objects_;
  ProgressBar& bar_;
  std::vector<size_t> iteration_;
  size_t position_ = 0;
  int restoredFiles_ = 0;
  int failedFiles_ = 0;
};
