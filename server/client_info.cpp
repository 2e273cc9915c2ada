#include "server/client_info.h"

#include <oleauto.h>

#include "model/module_strings.h"
#include "model/settings_store.h"
#include "server/bstr.h"
#include "server/com_result.h"
#include "server/product_version.h"
#include "server/variant.h"
#include "platform/win32/this_module.h"

namespace {

constexpr WORD kClientIcon = 216;

// The new string is made before the old content goes, so running out of memory leaves
// `value` as it was.
HRESULT StoreString(VARIANT* value, const std::string& text) {
  UniqueVariant made;
  made.set_bstr(WidenToBstr(text));
  BKQN_RETURN_IF_FAILED(VariantClear(value));
  *value = made.release();
  return S_OK;
}

// A number goes into the 32-bit payload. A value already tagged as a 32-bit integer keeps its
// tag; any other is cleared first and tagged `type`, so that a caller reusing a variable is
// not handed a string's tag over a number, and an empty variable gets its answer.
HRESULT PrepareNumber(VARIANT* value, VARTYPE type) {
  switch (V_VT(value)) {
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT: return S_OK;
  }
  if (HRESULT hr = VariantClear(value); FAILED(hr)) return hr;
  V_VT(value) = type;
  return S_OK;
}

std::string ClientName() { return ModuleString(IDS_CLIENT_NAME); }

// Empty when there is something to back up, else the text the host shows as the reason.
std::string BackupListProblem(const std::string& backupListKey) {
  if (HasBackupListValues(backupListKey)) return {};
  return ClientName() + ModuleString(IDS_NO_FILES_ERROR);
}

}  // namespace

HRESULT QueryClientInfo(const std::string& backupListKey, BSTR name, VARIANT* value) {
  if (!value) return E_POINTER;
  std::string property = NarrowFromBstr(name);
  if (!property.empty()) CharLowerBuffA(property.data(), static_cast<DWORD>(property.size()));

  if (property == "hasbackup") return StoreString(value, BackupListProblem(backupListKey));
  if (property == "clientname") return StoreString(value, ClientName());
  if (property == "clienticon") {
    if (HRESULT hr = PrepareNumber(value, VT_I4); FAILED(hr)) return hr;
    HANDLE icon = LoadImageA(ThisModule(), MAKEINTRESOURCEA(kClientIcon), IMAGE_ICON, 16, 16, 0);
    // Icon handles are 32-bit values even in a 64-bit process.
    V_I4(value) = static_cast<LONG>(reinterpret_cast<INT_PTR>(icon));
    return S_OK;
  }
  if (property == "versionmajor" || property == "versionminor") {
    if (HRESULT hr = PrepareNumber(value, VT_UI4); FAILED(hr)) return hr;
    const ProductVersion version = ReadProductVersion(ThisModule());
    V_UI4(value) = property == "versionmajor" ? version.high : version.low;
    return S_OK;
  }
  return E_INVALIDARG;
}
