#pragma once
#include <string>
#include <vector>

// The registration script's text syntax, for the part of it the module's script uses:
//
//   HKCR { NoRemove CLSID { ForceRemove {guid} = s 'text' { val Name = s 'text' } } }
//
// Roots (HKCR, HKCU, HKLM, HKU or their long names) hold keys; a key may carry NoRemove or
// ForceRemove, a default string value (= s '...') and a block of subkeys and named string
// values (val name = s '...'). Names are bare words, {guid} words or quoted; inside quotes ''
// stands for one quote. Keywords are matched without regard to case, and only when unquoted.

struct RegScriptValue {
  std::wstring name;
  std::wstring data;
};

struct RegScriptKey {
  std::wstring name;
  bool noRemove = false;     // never deleted by unregistration
  bool forceRemove = false;  // deleted with its subtree before registration and by unregistration
  bool hasDefault = false;
  std::wstring defaultData;
  std::vector<RegScriptValue> values;
  std::vector<RegScriptKey> subkeys;
};

struct RegScriptRoot {
  std::wstring name;  // as written: "HKCR", "HKEY_LOCAL_MACHINE", ...
  std::vector<RegScriptKey> keys;
};

// False (`roots` then holds whatever was read before) when the text does not follow the syntax above.
bool ParseRegistryScript(const std::wstring& text, std::vector<RegScriptRoot>& roots);

// Replaces every `placeholder` in key names and value data. Done on the parsed script, so a
// replacement holding a quote (a module path like C:\Bob's\) cannot change its structure.
void ReplaceInRegistryScript(std::vector<RegScriptRoot>& roots, const std::wstring& placeholder,
                             const std::wstring& replacement);
