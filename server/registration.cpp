#include "server/registration.h"

#include <oleauto.h>

#include <string>
#include <vector>

#include "server/class_table.h"
#include "server/com_result.h"
#include "server/module_type_library.h"
#include "server/registry_script.h"
#include "server/registry_script_apply.h"
#include "server/type_info_owners.h"
#include "platform/win32/this_module.h"

namespace {

constexpr WORD kScriptResource = 103;

// The script as the module carries it (ANSI text), with the module's path put in.
HRESULT LoadScript(std::vector<RegScriptRoot>& roots) {
  HMODULE module = ThisModule();
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(kScriptResource), L"REGISTRY");
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const char* data = static_cast<const char*>(loaded ? LockResource(loaded) : nullptr);
  if (!data) return LastErrorResult();
  const int size = static_cast<int>(SizeofResource(module, found));

  std::wstring text(static_cast<size_t>(size), L'\0');
  const int length = size ? MultiByteToWideChar(CP_ACP, 0, data, size, text.data(), size) : 0;
  text.resize(static_cast<size_t>(length));
  if (!ParseRegistryScript(text, roots)) return FromWin32(ERROR_INVALID_DATA);

  const std::wstring path = ThisModulePath();
  if (path.empty()) return LastErrorResult();
  ReplaceInRegistryScript(roots, L"%MODULE%", path);
  return S_OK;
}

}  // namespace

HRESULT RegisterModule() {
  std::vector<RegScriptRoot> roots;
  BKQN_RETURN_IF_FAILED(LoadScript(roots));
  // The script is the same for every class; each class's step runs all of it.
  for (size_t i = 0; i < kComponentClassCount; ++i) {
    BKQN_RETURN_IF_FAILED(ApplyRegistryScript(roots, RegScriptMode::kRegister));
  }
  ComPtr<ITypeLib> lib;
  BKQN_RETURN_IF_FAILED(LoadModuleTypeLib(lib));
  std::wstring path = ThisModulePath();
  return RegisterTypeLib(lib.get(), path.data(), nullptr);
}

HRESULT UnregisterModule() {
  FirstFailure failure;
  std::vector<RegScriptRoot> roots;
  HRESULT hr = LoadScript(roots);
  failure.Note(hr);
  if (SUCCEEDED(hr)) {
    for (size_t i = 0; i < kComponentClassCount; ++i) {
      failure.Note(ApplyRegistryScript(roots, RegScriptMode::kUnregister));
    }
  }
  ComPtr<ITypeLib> lib;
  hr = LoadModuleTypeLib(lib);
  failure.Note(hr);
  if (SUCCEEDED(hr)) {
    TLIBATTR* got = nullptr;
    hr = lib->GetLibAttr(&got);
    failure.Note(hr);
    const UniqueLibAttr attr(got, {lib.get()});
    if (attr) failure.Note(UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind));
  }
  return failure.Result();
}
