#include "engine/restore_target.h"

#include <algorithm>
#include <cctype>

#include "model/join_path.h"

namespace {

// The header the host keeps in front of the stored file name; the module never reads it.
constexpr size_t kOptionsHeaderSize = 28;

std::string UpperAscii(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Windows drops trailing dots and spaces from the last component of a path.
std::string WithoutTrailingDotsAndSpaces(const std::string& name) {
  const size_t end = name.find_last_not_of(". ");
  return end == std::string::npos ? std::string() : name.substr(0, end + 1);
}

// CON, PRN, AUX, NUL, COM0-9, LPT0-9, CONIN$ and CONOUT$ stand for devices whatever their
// extension ("nul.txt") and trailing spaces.
bool IsDeviceName(const std::string& name) {
  std::string base = UpperAscii(name.substr(0, name.find('.')));
  base.erase(base.find_last_not_of(' ') + 1);
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" || base == "CONOUT$") {
    return true;
  }
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         std::isdigit(static_cast<unsigned char>(base[3]));
}

}  // namespace

bool IsPlainFileName(const std::string& name) {
  if (name.find_first_of("\\/:") != std::string::npos) return false;
  if (WithoutTrailingDotsAndSpaces(name).empty()) return false;  // "", ".", "..", ". ." ...
  return !IsDeviceName(name);
}

std::optional<std::string> ReadObjectName(const std::vector<uint8_t>& options) {
  if (options.size() <= kOptionsHeaderSize) return std::nullopt;
  const auto begin = options.begin() + kOptionsHeaderSize;
  const auto zero = std::find(begin, options.end(), uint8_t{0});
  if (zero == options.end()) return std::nullopt;
  std::string name(begin, zero);
  if (!IsPlainFileName(name)) return std::nullopt;
  return name;
}

std::optional<std::string> RestoreTargetFor(const std::string& destination, const std::string& objectName,
                                            const std::optional<std::vector<uint8_t>>& options) {
  if (destination.empty()) return objectName;
  if (!options) return std::nullopt;
  const std::optional<std::string> name = ReadObjectName(*options);
  if (!name) return std::nullopt;
  return JoinPath(destination, *name);
}
