#pragma once
#include <string>
#include <vector>

#include "host/archive_index.h"
#include "host/dispatch_object.h"
#include "host/progress_bar.h"

// The host's IBackuper over a folder archive: every file a client hands over is copied into
// the archive's "files" folder and described by an index object; the index itself is
// written by the caller once every client has run. Operations no client of this host uses
// answer E_NOTIMPL.
class ArchiveBackuper final : public DispatchObject<IBackuper> {
 public:
  // `folder` exists and holds a "files" folder.
  ArchiveBackuper(std::string folder, ProgressBar& bar) : m_strFolder(std::move(folder)), m_bar(bar) {}

  const std::vector<ArchiveObject>& Objects() const { return m_objects; }
  int FailedFiles() const { return m_nFailedFiles; }

  STDMETHODIMP SetProgress(IProgress*) override { return S_OK; }
  STDMETHODIMP SetVersionInfo(long, long) override { return S_OK; }
  STDMETHODIMP SetArchiveInfo(BSTR, BSTR, BSTR, BSTR, DATE, long) override { return E_NOTIMPL; }
  STDMETHODIMP BeginClient(BSTR ClientName, BSTR Clsid, int nTotalWeight) override;
  STDMETHODIMP EndClient(int iDeleteClient) override;
  STDMETHODIMP BackupFile(BSTR FileName, BSTR LocalName, BSTR ActionName, int nWeight,
                          VARIANT_BOOL fWriteInLog) override;
  STDMETHODIMP BackupRegistryKey(BSTR, BSTR, int) override { return E_NOTIMPL; }
  STDMETHODIMP SetClientOptions(BSTR, BSTR, VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP GetClientOptions(BSTR, VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetLastError(int* pErrCode, BSTR* pText) override;
  STDMETHODIMP StartBackup() override { return S_OK; }
  STDMETHODIMP FinishBackup(int) override { return S_OK; }
  STDMETHODIMP BeginBackupString(BSTR, BSTR, BSTR, int, VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP BackupNextPartOfString(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP EndBackupString() override { return E_NOTIMPL; }

 private:
  HRESULT Fail(const std::string& file, DWORD code);

  std::string m_strFolder;
  ProgressBar& m_bar;
  std::vector<ArchiveObject> m_objects;
  std::string m_strClient;
  unsigned m_nCopies = 0;
  int m_nFailedFiles = 0;
  DWORD m_nLastErrorCode = 0;
  std::string m_strLastErrorText;
};
