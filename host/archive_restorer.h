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
      : m_strFolder(std::move(folder)), m_objects(std::move(objects)), m_bar(bar) {}

  int RestoredFiles() const { return m_nRestoredFiles; }
  int FailedFiles() const { return m_nFailedFiles; }

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

  std::string m_strFolder;
  std::vector<ArchiveObject> m_objects;
  ProgressBar& m_bar;
  std::vector<size_t> m_iteration;
  size_t m_nPosition = 0;
  int m_nRestoredFiles = 0;
  int m_nFailedFiles = 0;
};
