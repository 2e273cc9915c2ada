#include "model/module_strings.h"

// Without a resource section the texts are compiled in from the same list the Windows
// string table is built from.
std::string ModuleString(int id) {
  switch (id) {
#define BKQN_STRING(number, symbol, text) \
  case number:                            \
    return text;
#include "resources/strings.inc"
#undef BKQN_STRING
    default:
      return {};
  }
}
