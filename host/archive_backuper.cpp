#include "host/archive_backuper.h"

#include <algorithm>
#include <cstdio>

#include "host/object_options.h"
#include "host/size_text.h"
#include "host/system_message.h"
#include "model/join_path.h"
#include "server/bstr.h"
#include "server/com_result.h"

namespace {

FileFacts FactsOf(const WIN32_FILE_ATTRIBUTE_DATA& data) {
  return {(static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
          (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime,
          data.dwFileAttributes};
}

}  // namespace

STDMETHODIMP ArchiveBackuper::BeginClient(BSTR ClientName, BSTR Clsid, int nTotalWeight) {
  m_strClient = NarrowFromBstr(Clsid);
  m_bar.PrintLine(std::string(m_pDoing) + " \"" + NarrowFromBstr(ClientName) + "\" " + m_strClient);
  m_bar.Start(nTotalWeight);
  return S_OK;
}

STDMETHODIMP ArchiveBackuper::EndClient(int iDeleteClient) {
  m_bar.Finish();
  if (iDeleteClient == 1) {
    // The client gave up its part of the archive: nothing of it stays behind.
    const auto ours = [this](const ArchiveObject& o) { return o.client == m_strClient; };
    for (const ArchiveObject& object : m_objects) {
      if (ours(object) && !object.copy.empty()) DeleteFileA(JoinPath(m_strFolder, object.copy).c_str());
    }
    m_objects.erase(std::remove_if(m_objects.begin(), m_objects.end(), ours), m_objects.end());
  }
  m_strClient.clear();
  return S_OK;
}

STDMETHODIMP ArchiveBackuper::BackupFile(BSTR FileName, BSTR LocalName, BSTR, int nWeight, VARIANT_BOOL) {
  const std::string source = NarrowFromBstr(FileName);
  m_bar.Advance(nWeight, source);

  char number[16];
  std::snprintf(number, sizeof number, "%08u", ++m_nCopies);
  const std::string copy = JoinPath(kCopiesFolderName, number);
  const std::string copyPath = JoinPath(m_strFolder, copy);
  if (!CopyFileA(source.c_str(), copyPath.c_str(), TRUE)) return Fail(source, ::GetLastError());

  // The copy's own facts, so that the size checked at restore is the size that was written.
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(copyPath.c_str(), GetFileExInfoStandard, &data)) {
    const DWORD code = ::GetLastError();
    DeleteFileA(copyPath.c_str());
    return Fail(source, code);
  }
  // A read-only copy could not be dropped again; the original attributes travel in the header.
  SetFileAttributesA(copyPath.c_str(), FILE_ATTRIBUTE_NORMAL);
  m_objects.push_back({m_strClient, 0, source, nWeight, MakeObjectOptions(FactsOf(data), NarrowFromBstr(LocalName)), copy});
  return S_OK;
}

STDMETHODIMP ArchiveBackuper::GetLastError(int* pErrCode, BSTR* pText) {
  if (!pErrCode || !pText) return E_POINTER;
  *pText = nullptr;
  *pErrCode = static_cast<int>(m_nLastErrorCode);
  try {
    *pText = WidenToBstr(m_strLastErrorText).release();
  } catch (const ComError& e) {
    return e.hr;
  }
  return S_OK;
}

HRESULT ArchiveBackuper::Fail(const std::string& file, DWORD code) {
  ++m_nFailedFiles;
  m_nLastErrorCode = code;
  m_strLastErrorText = "Cannot back up \"" + file + "\": " + SystemMessage(code);
  return FailureFromWin32(code);
}

STDMETHODIMP DryRunBackuper::BackupFile(BSTR FileName, BSTR LocalName, BSTR, int nWeight, VARIANT_BOOL) {
  const std::string source = NarrowFromBstr(FileName);
  m_bar.Advance(nWeight, source);
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(source.c_str(), GetFileExInfoStandard, &data)) return Fail(source, ::GetLastError());
  const FileFacts facts = FactsOf(data);
  m_nBytes += facts.size;
  char size[32];
  std::snprintf(size, sizeof size, "%*s", m_bHuman ? 10 : 14, SizeText(facts.size, m_bHuman).c_str());
  m_bar.PrintLine(size + ("  " + source));
  m_objects.push_back({m_strClient, 0, source, nWeight, MakeObjectOptions(facts, NarrowFromBstr(LocalName)), ""});
  return S_OK;
}
