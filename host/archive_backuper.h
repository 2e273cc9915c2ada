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
class ArchiveBackuper : public DispatchObject<IBackuper> {
 public:
  // `folder` exists and holds a "files" folder.
  ArchiveBackuper(std::string folder, ProgressBar& bar) : ArchiveBackuper(std::move(folder), bar, "Backing up") {}

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

 protected:
  // `doing` opens the line that names each client.
  ArchiveBackuper(std::string folder, ProgressBar& bar, const char* doing)
      : m_strFolder(std::move(folder)), m_bar(bar), m_pDoing(doing) {}
  HRESULT Fail(const std::string& file, DWORD code);

  std::string m_strFolder;
  ProgressBar& m_bar;
  const char* m_pDoing;
  std::vector<ArchiveObject> m_objects;
  std::string m_strClient;

 private:
  unsigned m_nCopies = 0;
  int m_nFailedFiles = 0;
  DWORD m_nLastErrorCode = 0;
  std::string m_strLastErrorText;
};

// The host's IBackuper of a dry run: nothing is copied; every file handed over is printed
// with the size read from it, and kept as the index object a backup would write, without a
// copy.
class DryRunBackuper final : public ArchiveBackuper {
 public:
  DryRunBackuper(ProgressBar& bar, bool human) : ArchiveBackuper({}, bar, "Dry run of"), m_bHuman(human) {}

  uint64_t Bytes() const { return m_nBytes; }

  STDMETHODIMP BackupFile(BSTR FileName, BSTR LocalName, BSTR ActionName, int nWeight,
                          VARIANT_BOOL fWriteInLog) override;

 private:
  bool m_bHuman;
  uint64_t m_nBytes = 0;
};
