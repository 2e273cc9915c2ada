#pragma once
#include <cstddef>

namespace platform {

// The ANSI search functions refuse a pattern longer than MAX_PATH characters (Wine takes
// exactly 260); the POSIX search does the same, which also ends a walk caught in a loop of links.
constexpr size_t kLongestSearchPattern = 260;

}  // namespace platform
