#pragma once
#include <string>
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

// One mask asked about many names, with WildcardMatch's answers. When nothing after the mask's
// last star is a wildcard, every name it matches ends in that text (the match only leaves the
// star's search once the rest has been taken literally up to the name's end), so most names
// are turned away on it before the full match.
class WildcardMask {
 public:
  explicit WildcardMask(std::string mask = {});
  const std::string& Text() const { return m_strMask; }
  bool Matches(std::string_view name) const;

 private:
  std::string m_strMask;
  std::string m_strTail;
};

}  // namespace platform
