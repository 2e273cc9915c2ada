#pragma once
#include <windows.h>

#include <vector>

#include "server/registry_script.h"

enum class RegScriptMode { kRegister, kUnregister };

// Register: ForceRemove keys are deleted with their subtree, then every key is created and its
// default and named values written. Unregister: the named values and default values the
// script gives are deleted; ForceRemove keys go with their subtree; other keys go only when
// nothing else is left in them; NoRemove keys stay. Every root name is checked before anything
// is touched. Returns the first failure; a register run stops there.
HRESULT ApplyRegistryScript(const std::vector<RegScriptRoot>& roots, RegScriptMode mode);
