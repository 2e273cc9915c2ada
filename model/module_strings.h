#pragma once
#include <string>

// The module's numbered texts. On Windows they come from the module's string table; the
// native build reads the same list (resources/strings.inc) compiled in.
enum ModuleStringId : int {
#define BKQN_STRING(number, symbol, text) symbol = number,
#include "resources/strings.inc"
#undef BKQN_STRING
};

// The text of string resource `id`; empty when there is none.
std::string ModuleString(int id);
