#pragma once
#include <string_view>

namespace platform {

// Whether `name` matches the directory-search mask `mask` as FindFirstFileA would match a
// long name: "*" any run of characters, "?" exactly one, letters without regard to case
// (ASCII), and "*.*" matches every name, with or without a dot. An empty mask matches nothing.
bool WildcardMatch(std::string_view mask, std::string_view name);

}  // namespace platform
