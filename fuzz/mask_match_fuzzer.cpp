// Mask lists and the POSIX build's wildcard matcher on any bytes.
// Input: a mask list text, a NUL byte, a file name (no NUL: the file name is the rest).
// Properties:
// - the masks a list splits into, written back the way the dialogs write them (joined by
//   " | "), split into the same masks, empty ones aside (an empty mask matches nothing);
// - letter case never changes whether a name matches;
// - a mask prepared for many names answers as the plain matcher does;
// - "*" matches every name;
// - a mask without "*" or "?" and without trailing dots or blanks matches exactly the names
//   equal to it ignoring ASCII case.

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "model/mask_list.h"
#include "platform/posix/wildcard_match.h"

namespace {

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string Folded(std::string text) {
  for (char& c : text) c = FoldAscii(c);
  return text;
}

// Every ASCII letter in the other case.
std::string CaseSwapped(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    } else if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return text;
}

std::vector<std::string> NonEmpty(const std::vector<std::string>& masks) {
  std::vector<std::string> kept;
  for (const std::string& mask : masks) {
    if (!mask.empty()) kept.push_back(mask);
  }
  return kept;
}

bool IsLiteral(const std::string& mask) {
  return !mask.empty() && mask.find_first_of("*?") == std::string::npos && mask.back() != '.' && mask.back() != ' ';
}

void CheckListRewrite(const std::string& list) {
  std::vector<std::string> masks;
  SplitMasks(list, masks);
  // Only a list that begins with a bar gives a mask holding one, and it gives just that mask;
  // writers never store such a list.
  for (const std::string& mask : masks) {
    if (mask.find('|') != std::string::npos) return;
  }
  std::string rewritten;
  for (size_t i = 0; i < masks.size(); ++i) rewritten += (i == 0 ? "" : kMaskSeparator) + masks[i];
  std::vector<std::string> again;
  SplitMasks(rewritten, again);
  FUZZ_CHECK(NonEmpty(again) == NonEmpty(masks));
}

void CheckMatch(const std::string& mask, const std::string& name) {
  const bool matched = platform::WildcardMatch(mask, name);
  FUZZ_CHECK(platform::WildcardMask(mask).Matches(name) == matched);
  FUZZ_CHECK(platform::WildcardMatch(mask, CaseSwapped(name)) == matched);
  FUZZ_CHECK(platform::WildcardMatch(CaseSwapped(mask), name) == matched);
  FUZZ_CHECK(platform::WildcardMatch("*", name));
  if (IsLiteral(mask)) {
    FUZZ_CHECK(matched == (Folded(mask) == Folded(name)));
    FUZZ_CHECK(platform::WildcardMatch(mask, CaseSwapped(mask)));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string list = input.substr(0, split);
  const std::string name = split == std::string::npos ? std::string() : input.substr(split + 1);

  CheckListRewrite(list);
  std::vector<std::string> masks;
  SplitMasks(list, masks);
  for (const std::string& mask : masks) CheckMatch(mask, name);
  CheckMatch(list, name);
  return 0;
}
