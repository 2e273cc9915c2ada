#include "host/archive_restorer.h"

#include "host/object_options.h"
#include "host/system_message.h"
#include "model/join_path.h"
#include "server/bstr.h"
#include "server/com_result.h"
#include "server/qn_error.h"
#include "server/variant_bytes.h"

namespace {

bool SameClient(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// Whether the archive's copy is there with the size the index recorded.
bool CopyIsIntact(const std::string& path, const std::optional<FileFacts>& facts) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!facts || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  return ((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) == facts->size;
}

}  // namespace

const ArchiveObject* ArchiveRestorer::Current() const {
  return m_nPosition < m_iteration.size() ? &m_objects[m_iteration[m_nPosition]] : nullptr;
}

STDMETHODIMP ArchiveRestorer::Iterate(BSTR Clsid) {
  const std::string client = NarrowFromBstr(Clsid);
  m_iteration.clear();
  m_nPosition = 0;
  int64_t total = 0;
  for (size_t i = 0; i < m_objects.size(); ++i) {
    if (!SameClient(m_objects[i].client, client)) continue;
    m_iteration.push_back(i);
    total += m_objects[i].weight;
  }
  m_bar.Start(total);
  return S_OK;
}

STDMETHODIMP ArchiveRestorer::Next() {
  const ArchiveObject* object = Current();
  if (!object) return S_FALSE;
  m_bar.Advance(object->weight, object->name);
  if (++m_nPosition == m_iteration.size()) m_bar.Finish();
  return S_OK;
}

STDMETHODIMP ArchiveRestorer::IsEnd(VARIANT_BOOL* pIsEnd) {
  if (!pIsEnd) return E_POINTER;
  *pIsEnd = Current() ? VARIANT_FALSE : VARIANT_TRUE;
  return S_OK;
}

STDMETHODIMP ArchiveRestorer::GetObjectInfo(USHORT* pType, BSTR* pName, LONG* pWeight) {
  if (!pType || !pName || !pWeight) return E_POINTER;
  *pName = nullptr;
  const ArchiveObject* object = Current();
  if (!object) return E_UNEXPECTED;
  try {
    *pName = WidenToBstr(object->name).release();
  } catch (const ComError& e) {
    return e.hr;
  }
  *pType = object->type;
  *pWeight = object->weight;
  return S_OK;
}

STDMETHODIMP ArchiveRestorer::GetObjectOptions(VARIANT* pOptions) {
  if (!pOptions) return E_POINTER;
  const ArchiveObject* object = Current();
  if (!object) {
    VariantInit(pOptions);
    return E_UNEXPECTED;
  }
  return VariantFromBytes(object->options, *pOptions) ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP ArchiveRestorer::RestoreFile(BSTR FileName, LONG nOption, VARIANT_BOOL fWriteInLog) {
  const ArchiveObject* object = Current();
  if (!object || object->type != 0) return E_UNEXPECTED;
  const std::string target = NarrowFromBstr(FileName);
  if (target.empty()) return Fail("No place given to restore \"" + object->name + "\" to", E_INVALIDARG);

  const std::string copy = JoinPath(m_strFolder, object->copy);
  const std::optional<FileFacts> facts = ReadObjectFacts(object->options);
  if (object->copy.empty() || !CopyIsIntact(copy, facts)) {
    ++m_nFailedFiles;
    m_bar.PrintLine("The archive is damaged: the copy of \"" + object->name + "\" (" + object->copy +
                   ") is missing or cut short; restore stopped");
    throw QnError{FromWin32(ERROR_FILE_CORRUPT)};
  }

  const bool overwrite = nOption == 1;
  if (!overwrite && GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES)
    return Fail("\"" + target + "\" already exists and was kept; restore with --overwrite to replace it",
                FromWin32(ERROR_FILE_EXISTS));
  if (!CopyFileA(copy.c_str(), target.c_str(), overwrite ? FALSE : TRUE)) {
    const DWORD code = ::GetLastError();
    return Fail("Cannot restore \"" + target + "\": " + SystemMessage(code), FailureFromWin32(code));
  }
  SetFileAttributesA(target.c_str(), facts->attributes != 0 ? facts->attributes : FILE_ATTRIBUTE_NORMAL);
  ++m_nRestoredFiles;
  if (fWriteInLog) m_bar.PrintLine("restored  " + object->name + "  ->  " + target);
  return S_OK;
}

HRESULT ArchiveRestorer::Fail(const std::string& text, HRESULT hr) {
  ++m_nFailedFiles;
  m_bar.PrintLine(text);
  return hr;
}
