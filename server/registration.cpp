#include "server/registration.h"

#include <oleauto.h>

#include <memory>
#include <string>
#include <vector>

#include "server/class_table.h"
#include "server/module_type_library.h"
#include "server/registry_script.h"
#include "server/registry_script_apply.h"
#include "platform/win32/this_module.h"

namespace {

constexpr WORD kScriptResource = 103;

HRESULT LastError() {
  const DWORD error = GetLastError();
  return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

// The script as the module carries it (ANSI text), with the module's path put in.
HRESULT LoadScript(std::vector<RegScriptRoot>& roots) {
  HMODULE module = ThisModule();
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(kScriptResource), L"REGISTRY");
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const char* data = static_cast<const char*>(loaded ? LockResource(loaded) : nullptr);
  if (!data) return LastError();
  const int size = static_cast<int>(SizeofResource(module, found));

  std::wstring text(static_cast<size_t>(size), L'\0');
  const int length = size ? MultiByteToWideChar(CP_ACP, 0, data, size, text.data(), size) : 0;
  text.resize(static_cast<size_t>(length));
  if (!ParseRegistryScript(text, roots)) return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);

  const std::wstring path = ThisModulePath();
  if (path.empty()) return LastError();
  ReplaceInRegistryScript(roots, L"%MODULE%", path);
  return S_OK;
}

// The library's attributes, given back to the library that handed them out.
struct LibAttrRelease {
  ITypeLib* lib;
  void operator()(TLIBATTR* attr) const { lib->ReleaseTLibAttr(attr); }
};
using UniqueLibAttr = std::unique_ptr<TLIBATTR, LibAttrRelease>;

}  // namespace

HRESULT RegisterModule() {
  std::vector<RegScriptRoot> roots;
  HRESULT hr = LoadScript(roots);
  if (FAILED(hr)) return hr;
  // The script is the same for every class; each class's step runs all of it.
  for (size_t i = 0; i < kComponentClassCount; ++i) {
    if (hr = ApplyRegistryScript(roots, RegScriptMode::kRegister); FAILED(hr)) return hr;
  }
  ComPtr<ITypeLib> lib;
  if (hr = LoadModuleTypeLib(lib); FAILED(hr)) return hr;
  std::wstring path = ThisModulePath();
  return RegisterTypeLib(lib.get(), path.data(), nullptr);
}

HRESULT UnregisterModule() {
  HRESULT first = S_OK;
  const auto note = [&first](HRESULT hr) {
    if (SUCCEEDED(first) && FAILED(hr)) first = hr;
  };
  std::vector<RegScriptRoot> roots;
  HRESULT hr = LoadScript(roots);
  note(hr);
  if (SUCCEEDED(hr)) {
    for (size_t i = 0; i < kComponentClassCount; ++i) note(ApplyRegistryScript(roots, RegScriptMode::kUnregister));
  }
  ComPtr<ITypeLib> lib;
  hr = LoadModuleTypeLib(lib);
  note(hr);
  if (SUCCEEDED(hr)) {
    TLIBATTR* got = nullptr;
    hr = lib->GetLibAttr(&got);
    note(hr);
    const UniqueLibAttr attr(got, {lib.get()});
    if (SUCCEEDED(hr)) {
      note(UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind));
    }
  }
  return first;
}
