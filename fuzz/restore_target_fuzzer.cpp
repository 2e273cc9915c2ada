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

#include <optional>
#include <vector>

#include "engine/restore_target.h"
#include "fuzz/fuzz_check.h"

namespace {

void CheckStoredName(const std::vector<uint8_t>& options, const std::string& name) {
  constexpr size_t kHeaderSize = 28;
  FUZZ_CHECK(options.size() > kHeaderSize);
  const auto zero = std::find(options.begin() + kHeaderSize, options.end(), uint8_t{0});
  FUZZ_CHECK(zero != options.end() && name == std::string(options.begin() + kHeaderSize, zero));
  FUZZ_CHECK(name.find_first_of("\\/:") == std::string::npos);
  FUZZ_CHECK(name.find_last_not_of(". ") != std::string::npos);  // Windows trims these off the end
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input = InputText(data, size);
  size_t position = 0;
  const std::string destination = NextField(input, position, '\n');
  const std::string objectName = NextField(input, position, '\n');
  std::optional<std::vector<uint8_t>> options;
  if (position <= input.size()) options.emplace(input.begin() + position, input.end());

  if (options) {
    if (const std::optional<std::string> stored = ReadObjectName(*options)) CheckStoredName(*options, *stored);
  }
  const std::optional<std::string> target = RestoreTargetFor(destination, objectName, options);
  if (destination.empty()) {
    FUZZ_CHECK(target && *target == objectName);
  } else if (target) {
    const std::string folder = destination.back() == '\\' ? destination : destination + '\\';
    FUZZ_CHECK(options && target->compare(0, folder.size(), folder) == 0);
    CheckStoredName(*options, target->substr(folder.size()));
  }
  return 0;
}
