#include <windows.h>

#include "platform/create_directory.h"

namespace platform {

bool MakeDirectory(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != FALSE; }

}  // namespace platform
