#pragma once
#include <string>

// How Wine's registry compares key and value names given in the ANSI code page (1252): the
// name is widened to UTF-16 and lower-cased, then compared unit by unit, a prefix first.
namespace platform {

std::u16string RegistryNameKey(const std::string& ansiName);

}  // namespace platform
