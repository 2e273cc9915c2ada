#include "dialogs/list_edit_rules.h"

#include <vector>

#include "dialogs/mask_rules.h"
#include "model/backup_page_rules.h"

namespace {

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

const std::string& PathOf(const BackupEntry& entry) {
  return std::visit([](const auto& e) -> const std::string& { return e.m_strPath; }, entry);
}

}  // namespace

std::optional<std::string> NormalizeMaskList(const std::string& typed, bool excludeSide, std::string& error) {
  std::vector<std::string> masks;
  if (!Trimmed(typed).empty()) {
    size_t start = 0;
    for (;;) {
      const size_t bar = typed.find('|', start);
      std::string mask = Trimmed(typed.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
      if (mask.empty()) {
        error = "The value cannot be empty.";
        return std::nullopt;
      }
      if (HasForbiddenMaskCharacter(mask)) {
        error = "Invalid mask: \"" + mask + "\"";
        return std::nullopt;
      }
      mask = NormalMask(mask);
      if (excludeSide && mask == "*.*") {
        error = "The mask *.* is not allowed.";
        return std::nullopt;
      }
      if (!IsDuplicateMask(masks, mask, -1)) masks.push_back(mask);
      if (bar == std::string::npos) break;
      start = bar + 1;
    }
  }
  if (masks.empty() && !excludeSide) {
    error = "an include list needs at least one mask";
    return std::nullopt;
  }
  return JoinMasks(masks);
}

bool PutBackupRow(BackupList& list, const BackupEntry& entry) {
  const std::string key = RowKey(PathOf(entry));
  for (BackupEntry& row : list) {
    if (row.index() == entry.index() && RowKey(PathOf(row)) == key) {
      row = entry;
      return true;
    }
  }
  list.push_back(entry);
  return false;
}
