#include "engine/selection_rules.h"

std::string LocalNameOf(const std::string& path) { return std::string(LocalNameView(path)); }
