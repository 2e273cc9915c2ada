// Where a restored object goes, for any destination, object name and options bytes.
// Input: destination, LF, object name, LF, options bytes (the rest); with no second LF the
// host gave no options at all.
// Properties:
// - without a destination the target is the object's name, unchanged;
// - with one, a target (when there is one) is the destination, one "\" unless the
//   destination ends in one, and the name stored from byte 28 of the options up to its
//   zero byte, which is a plain file name: no "\", "/" or ":", and not ".", ".." or a name
//   Windows trims to them or to nothing (trailing dots and blanks). So no target ever lies
//   outside the destination folder.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/restore_target.h"
#include "fuzz/fuzz_check.h"

namespace {

constexpr size_t kHeaderSize = 28;

// The text from `position` up to the next LF; `position` moves past the LF, or past the end
// when there is none.
std::string NextLine(const std::string& input, size_t& position) {
  if (position > input.size()) return {};
  const size_t end = std::min(input.find('\n', position), input.size());
  std::string line = input.substr(position, end - position);
  position = end + 1;
  return line;
}

// What a name means as the last component of a Windows path.
std::string TrimmedAsWindowsDoes(std::string name) {
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  return name;
}

void CheckStaysInside(const std::string& destination, const std::string& target,
                      const std::vector<uint8_t>& options) {
  FUZZ_CHECK(options.size() > kHeaderSize);
  const std::string folder = destination.back() == '\\' ? destination : destination + '\\';
  FUZZ_CHECK(target.compare(0, folder.size(), folder) == 0);
  const std::string name = target.substr(folder.size());
  const auto nameBegin = options.begin() + kHeaderSize;
  FUZZ_CHECK(name == std::string(nameBegin, std::find(nameBegin, options.end(), uint8_t{0})));
  FUZZ_CHECK(name.find_first_of(std::string("\\/:\0", 4)) == std::string::npos);
  const std::string trimmed = TrimmedAsWindowsDoes(name);
  FUZZ_CHECK(!trimmed.empty() && trimmed != "." && trimmed != "..");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  size_t position = 0;
  const std::string destination = NextLine(input, position);
  const std::string objectName = NextLine(input, position);
  std::optional<std::vector<uint8_t>> options;
  if (position <= input.size()) options.emplace(input.begin() + position, input.end());

  if (options) {
    const std::optional<std::string> stored = ReadObjectName(*options);
    if (stored) {
      FUZZ_CHECK(options->size() > kHeaderSize);
      const auto nameBegin = options->begin() + kHeaderSize;
      const auto zero = std::find(nameBegin, options->end(), uint8_t{0});
      FUZZ_CHECK(zero != options->end());
      FUZZ_CHECK(*stored == std::string(nameBegin, zero));
    }
  }

  const std::optional<std::string> target = RestoreTargetFor(destination, objectName, options);
  if (destination.empty()) {
    FUZZ_CHECK(target && *target == objectName);
  } else if (target) {
    FUZZ_CHECK(options.has_value());
    CheckStaysInside(destination, *target, *options);
  }
  return 0;
}
