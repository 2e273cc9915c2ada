#pragma once
#include <string>

// Two texts joined with exactly one backslash: a when b is empty, b when a is empty,
// a + b when a already ends in "\", else a + "\" + b.
std::string JoinPath(const std::string& a, const std::string& b);
