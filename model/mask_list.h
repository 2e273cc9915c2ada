#pragma once
#include <string>
#include <vector>

// Appends the masks of a mask list text ("*.doc | *.txt") to `masks`, in text order.
// A bar at position 0 ends the splitting, so "|*.doc" is one mask; a blank between two bars
// gives an empty mask, which matches nothing.
void SplitMasks(const std::string& text, std::vector<std::string>& masks);

// The separator writers put between masks.
inline constexpr const char* kMaskSeparator = " | ";
