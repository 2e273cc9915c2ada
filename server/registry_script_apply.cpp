#include "server/registry_script_apply.h"

#include <cwctype>

#include "platform/win32/unique_handles.h"
#include "server/com_result.h"

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

// What is already gone is what removal wants.
HRESULT UnlessMissing(LSTATUS status) { return status == ERROR_FILE_NOT_FOUND ? S_OK : FromWin32(status); }

HRESULT DeleteTree(HKEY parent, const std::wstring& name) { return UnlessMissing(RegDeleteTreeW(parent, name.c_str())); }

HRESULT SetString(HKEY key, const wchar_t* name, const std::wstring& data) {
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  return FromWin32(RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), bytes));
}

HRESULT RegisterKey(HKEY parent, const RegScriptKey& entry) {
  if (entry.forceRemove) BKQN_RETURN_IF_FAILED(DeleteTree(parent, entry.name));
  UniqueHkey key;
  BKQN_RETURN_IF_FAILED(FromWin32(RegCreateKeyExW(parent, entry.name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                  KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr)));
  if (entry.hasDefault) BKQN_RETURN_IF_FAILED(SetString(key.get(), nullptr, entry.defaultData));
  for (const RegScriptValue& value : entry.values) {
    BKQN_RETURN_IF_FAILED(SetString(key.get(), value.name.c_str(), value.data));
  }
  for (const RegScriptKey& subkey : entry.subkeys) BKQN_RETURN_IF_FAILED(RegisterKey(key.get(), subkey));
  return S_OK;
}

// Goes on past failures so that as much as possible is removed; the first one is returned.
HRESULT UnregisterKey(HKEY parent, const RegScriptKey& entry) {
  if (entry.forceRemove && !entry.noRemove) return DeleteTree(parent, entry.name);
  UniqueHkey key;
  const LSTATUS opened = RegOpenKeyExW(parent, entry.name.c_str(), 0, KEY_READ | KEY_WRITE, key.put());
  if (opened != ERROR_SUCCESS) return UnlessMissing(opened);

  FirstFailure failure;
  for (const RegScriptKey& subkey : entry.subkeys) failure.Note(UnregisterKey(key.get(), subkey));
  for (const RegScriptValue& value : entry.values) {
    failure.Note(UnlessMissing(RegDeleteValueW(key.get(), value.name.c_str())));
  }
  if (entry.noRemove) return failure.Result();
  if (entry.hasDefault) failure.Note(UnlessMissing(RegDeleteValueW(key.get(), nullptr)));

  // Whatever someone else put in the key keeps it.
  DWORD subkeys = 0;
  DWORD values = 0;
  failure.Note(FromWin32(RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                          nullptr, nullptr, nullptr, nullptr)));
  key.reset();
  if (SUCCEEDED(failure.Result()) && subkeys == 0 && values == 0) {
    failure.Note(UnlessMissing(RegDeleteKeyW(parent, entry.name.c_str())));
  }
  return failure.Result();
}

}  // namespace

HRESULT ApplyRegistryScript(const std::vector<RegScriptRoot>& roots, RegScriptMode mode) {
  for (const RegScriptRoot& root : roots) {
    if (!RootKey(root.name)) return FromWin32(ERROR_INVALID_DATA);
  }
  FirstFailure failure;
  for (const RegScriptRoot& root : roots) {
    for (const RegScriptKey& key : root.keys) {
      if (mode == RegScriptMode::kRegister) {
        BKQN_RETURN_IF_FAILED(RegisterKey(RootKey(root.name), key));
      } else {
        failure.Note(UnregisterKey(RootKey(root.name), key));
      }
    }
  }
  return failure.Result();
}
