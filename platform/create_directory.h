#pragma once
#include <string>

namespace platform {

// Creates one directory named in Windows form, its parent being expected to exist; false
// when it was not created (it exists already, the parent is missing, access is denied).
bool MakeDirectory(const std::string& path);

}  // namespace platform
