#include "backup_page/file_drop_source.h"

#include <shlobj.h>

namespace {

const FORMATETC kFileList{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};

}  // namespace

const InterfaceEntry CFileDropSource::kInterfaces[] = {
    BKQN_INTERFACE(CFileDropSource, IDataObject),
    BKQN_INTERFACE(CFileDropSource, IDropSource),
    {},
};

CFileDropSource::CFileDropSource(UniqueHglobal files)
    : CComponent(nullptr, kInterfaces), m_hFiles(std::move(files)) {}

STDMETHODIMP CFileDropSource::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (!medium) return E_POINTER;
  const HRESULT offered = QueryGetData(format);
  if (offered != S_OK) return offered;
  // The receiver frees what it is given.
  medium->hGlobal = OleDuplicateData(m_hFiles.get(), CF_HDROP, 0);
  if (!medium->hGlobal) return E_OUTOFMEMORY;
  medium->tymed = TYMED_HGLOBAL;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

STDMETHODIMP CFileDropSource::QueryGetData(FORMATETC* format) {
  if (!format) return E_POINTER;
  if (format->cfFormat != CF_HDROP || format->dwAspect != DVASPECT_CONTENT) return DV_E_FORMATETC;
  return (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_TYMED;
}

STDMETHODIMP CFileDropSource::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
  if (!out) return E_POINTER;
  out->ptd = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CFileDropSource::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return direction == DATADIR_GET ? SHCreateStdEnumFmtEtc(1, &kFileList, out) : E_NOTIMPL;
}

STDMETHODIMP CFileDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
  if (escapePressed || (keyState & MK_RBUTTON)) return DRAGDROP_S_CANCEL;
  return (keyState & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
}
