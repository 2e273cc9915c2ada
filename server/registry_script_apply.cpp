#include "server/registry_script_apply.h"

#include <cwctype>

#include "platform/win32/unique_handles.h"

namespace {

bool SameNoCase(const std::wstring& a, const wchar_t* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return i == a.size() && !b[i];
}

HKEY RootKey(const std::wstring& name) {
  static const struct {
    const wchar_t* shortName;
    const wchar_t* longName;
    HKEY key;
  } kRoots[] = {
      {L"HKCR", L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
      {L"HKCU", L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
      {L"HKLM", L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
      {L"HKU", L"HKEY_USERS", HKEY_USERS},
  };
  for (const auto& root : kRoots) {
    if (SameNoCase(name, root.shortName) || SameNoCase(name, root.longName)) return root.key;
  }
  return nullptr;
}

HRESULT FromStatus(LSTATUS status) { return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status); }

// A missing subtree is already what removal wants.
HRESULT DeleteTree(HKEY parent, const std::wstring& name) {
  const LSTATUS status = RegDeleteTreeW(parent, name.c_str());
  return status == ERROR_FILE_NOT_FOUND ? S_OK : FromStatus(status);
}

HRESULT SetString(HKEY key, const wchar_t* name, const std::wstring& data) {
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  return FromStatus(RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), bytes));
}

HRESULT RegisterKey(HKEY parent, const RegScriptKey& entry) {
  if (entry.forceRemove) {
    if (HRESULT hr = DeleteTree(parent, entry.name); FAILED(hr)) return hr;
  }
  UniqueHkey key;
  HRESULT hr = FromStatus(RegCreateKeyExW(parent, entry.name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr));
  if (FAILED(hr)) return hr;
  if (entry.hasDefault) {
    if (hr = SetString(key.get(), nullptr, entry.defaultData); FAILED(hr)) return hr;
  }
  for (const RegScriptValue& value : entry.values) {
    if (hr = SetString(key.get(), value.name.c_str(), value.data); FAILED(hr)) return hr;
  }
  for (const RegScriptKey& subkey : entry.subkeys) {
    if (hr = RegisterKey(key.get(), subkey); FAILED(hr)) return hr;
  }
  return S_OK;
}

// Goes on past failures so that as much as possible is removed; the first one is returned.
HRESULT UnregisterKey(HKEY parent, const RegScriptKey& entry) {
  if (entry.forceRemove && !entry.noRemove) return DeleteTree(parent, entry.name);
  UniqueHkey key;
  const LSTATUS opened = RegOpenKeyExW(parent, entry.name.c_str(), 0, KEY_READ | KEY_WRITE, key.put());
  if (opened == ERROR_FILE_NOT_FOUND) return S_OK;
  if (opened != ERROR_SUCCESS) return HRESULT_FROM_WIN32(opened);

  HRESULT first = S_OK;
  const auto note = [&first](HRESULT hr) {
    if (SUCCEEDED(first) && FAILED(hr)) first = hr;
  };
  for (const RegScriptKey& subkey : entry.subkeys) note(UnregisterKey(key.get(), subkey));
  for (const RegScriptValue& value : entry.values) {
    const LSTATUS status = RegDeleteValueW(key.get(), value.name.c_str());
    if (status != ERROR_FILE_NOT_FOUND) note(FromStatus(status));
  }
  if (entry.noRemove) return first;
  if (entry.hasDefault) {
    const LSTATUS status = RegDeleteValueW(key.get(), nullptr);
    if (status != ERROR_FILE_NOT_FOUND) note(FromStatus(status));
  }

  // Whatever someone else put in the key keeps it.
  DWORD subkeys = 0;
  DWORD values = 0;
  note(FromStatus(RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                   nullptr, nullptr, nullptr, nullptr)));
  key.reset();
  if (SUCCEEDED(first) && subkeys == 0 && values == 0) {
    const LSTATUS status = RegDeleteKeyW(parent, entry.name.c_str());
    if (status != ERROR_FILE_NOT_FOUND) note(FromStatus(status));
  }
  return first;
}

}  // namespace

HRESULT ApplyRegistryScript(const std::vector<RegScriptRoot>& roots, RegScriptMode mode) {
  for (const RegScriptRoot& root : roots) {
    if (!RootKey(root.name)) return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
  }
  HRESULT first = S_OK;
  for (const RegScriptRoot& root : roots) {
    for (const RegScriptKey& key : root.keys) {
      if (mode == RegScriptMode::kRegister) {
        if (HRESULT hr = RegisterKey(RootKey(root.name), key); FAILED(hr)) return hr;
      } else if (HRESULT hr = UnregisterKey(RootKey(root.name), key); FAILED(hr) && SUCCEEDED(first)) {
        first = hr;
      }
    }
  }
  return first;
}
