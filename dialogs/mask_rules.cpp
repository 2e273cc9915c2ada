#include "dialogs/mask_rules.h"

#include <algorithm>
#include <cctype>

#include "model/date_rule.h"
#include "model/mask_list.h"
#include "registry/registry_store.h"

namespace {

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

// A default value read into a buffer of 1024 bytes: a longer text does not fit and reads
// as nothing, as a fixed buffer gives it.
std::string ReadDefault(const CRegistryStore& store, const std::string& path) {
  std::string text = store.ReadString(path, "");
  if (text.size() >= 1024) text.clear();
  return text;
}

}  // namespace

std::string NormalMask(const std::string& mask) {
  return mask.find('.') == std::string::npos ? "*." + mask : mask;
}

std::string MaskExtension(const std::string& mask) {
  const size_t dot = mask.find('.');
  return dot == std::string::npos ? mask : mask.substr(dot + 1);
}

bool HasForbiddenMaskCharacter(const std::string& mask) {
  return mask.find_first_of("\\/:\"<>|") != std::string::npos;
}

bool IsDuplicateMask(const std::vector<std::string>& rows, const std::string& mask, int skipRow) {
  const std::string upper = Upper(mask);
  for (size_t row = 0; row < rows.size(); ++row) {
    if (static_cast<int>(row) != skipRow && Upper(rows[row]) == upper) return true;
  }
  return false;
}

std::string JoinMasks(const std::vector<std::string>& masks) {
  std::string text;
  for (size_t i = 0; i < masks.size(); ++i) {
    if (i > 0) text += kMaskSeparator;
    text += masks[i];
  }
  return text;
}

std::string MaskDescription(const CRegistryStore& store, const std::string& mask, const std::string& classesRoot) {
  if (mask == "*.*") return "All files";
  const std::string extension = MaskExtension(mask);
  const std::string fileClass = ReadDefault(store, classesRoot + "\\." + extension);
  if (!fileClass.empty()) {
    const std::string description = ReadDefault(store, classesRoot + "\\" + fileClass);
    if (!description.empty()) return description;
  }
  return Upper(extension) + " File" + (extension.find_first_of("*?") != std::string::npos ? "s" : "");
}

std::vector<std::string> CountItems(int32_t kind) {
  int first = 0, last = -1;
  switch (kind) {
    case RULE_LAST_DAYS: first = 2, last = 7; break;
    case RULE_LAST_WEEKS: first = 1, last = 4; break;
    case RULE_LAST_MONTHS: first = 1, last = 36; break;
    default: break;
  }
  std::vector<std::string> items;
  for (int count = first; count <= last; ++count) items.push_back(std::to_string(count));
  return items;
}

int CountItemIndex(const std::vector<std::string>& items, int32_t count) {
  const auto found = std::find(items.begin(), items.end(), std::to_string(count));
  return found == items.end() ? 0 : static_cast<int>(found - items.begin());
}
