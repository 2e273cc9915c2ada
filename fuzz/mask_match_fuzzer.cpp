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

#include <vector>

#include "fuzz/fuzz_check.h"
#include "model/mask_list.h"
#include "platform/compare_no_case.h"
#include "platform/posix/wildcard_match.h"

namespace {

std::string CaseSwapped(std::string text) {
  for (char& c : text) {
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') c ^= 0x20;
  }
  return text;
}

std::vector<std::string> NonEmptyMasks(const std::string& list) {
  std::vector<std::string> masks;
  SplitMasks(list, masks);
  masks.erase(std::remove(masks.begin(), masks.end(), std::string()), masks.end());
  return masks;
}

void CheckMatch(const std::string& mask, const std::string& name) {
  const bool matched = platform::WildcardMatch(mask, name);
  FUZZ_CHECK(platform::WildcardMask(mask).Matches(name) == matched);
  FUZZ_CHECK(platform::WildcardMatch(mask, CaseSwapped(name)) == matched);
  FUZZ_CHECK(platform::WildcardMatch(CaseSwapped(mask), name) == matched);
  FUZZ_CHECK(platform::WildcardMatch("*", name));
  if (!mask.empty() && mask.find_first_of("*?") == std::string::npos && mask.back() != '.' && mask.back() != ' ') {
    FUZZ_CHECK(matched == (platform::CompareNoCase(mask, name) == 0));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input = InputText(data, size);
  size_t position = 0;
  const std::string list = NextField(input, position, '\0');
  const std::string name = position < input.size() ? input.substr(position) : std::string();

  std::vector<std::string> masks;
  SplitMasks(list, masks);
  for (const std::string& mask : masks) CheckMatch(mask, name);
  CheckMatch(list, name);
  // A mask holding a bar ("a||b" gives "a" and "|b") cannot be written back; writers never store
  // one.
  for (const std::string& mask : masks) {
    if (mask.find('|') != std::string::npos) return 0;
  }
  std::string rewritten;
  for (size_t i = 0; i < masks.size(); ++i) rewritten += (i == 0 ? "" : kMaskSeparator) + masks[i];
  FUZZ_CHECK(NonEmptyMasks(rewritten) == NonEmptyMasks(list));
  return 0;
}
