#pragma once
#include <string_view>

namespace platform {

// Whether `name` matches the directory-search mask `mask` the way FindFirstFileA under Wine
// matches a long name, which is the reference this build follows:
// - letters compare without regard to case (ASCII);
// - "?" takes exactly one character;
// - "*" takes any run; the search resumes where the name next holds the mask character that
//   follows the star, taken literally (so "a*?" finds no "?" in "abc" and fails);
// - once the name is used up, trailing "." and "*" of the mask are ignored ("*.*" matches
//   "README", "noext.*" matches "noext");
// - trailing dots and blanks of the mask are dropped first, as the path is normalised ("*."
//   is "*"). An empty mask matches nothing.
bool WildcardMatch(std::string_view mask, std::string_view name);

}  // namespace platform
