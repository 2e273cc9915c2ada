#include "host/list_commands.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "dialogs/list_edit_rules.h"
#include "dialogs/rule_text.h"
#include "model/settings_store.h"
#include "platform/local_time.h"

namespace {

int Refuse(const std::string& text) {
  std::fprintf(stderr, "qnhost: %s\n", text.c_str());
  return kExitFailed;
}

// The full path of an existing file or folder, without a trailing "\" except at a root.
bool ResolvePath(const std::string& typed, std::string& full, bool& isFolder, std::string& error) {
  char buffer[MAX_PATH];
  const DWORD length = GetFullPathNameA(typed.c_str(), sizeof buffer, buffer, nullptr);
  if (length == 0 || length >= sizeof buffer) {
    error = "\"" + typed + "\" is not a usable path";
    return false;
  }
  full.assign(buffer, length);
  if (full.size() > 3 && full.back() == '\\') full.pop_back();
  const DWORD attributes = GetFileAttributesA(full.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    error = "\"" + full + "\" does not exist";
    return false;
  }
  isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return true;
}

// Fills a rule's kind, count and date; false when the date cannot be held.
bool ApplyRule(const RuleOption& option, int32_t& kind, int32_t& count, Time32& date, std::string& error) {
  kind = option.kind;
  count = option.count;
  date = 0;
  if (option.date && !platform::LocalStandardMidnight(*option.date, date)) {
    error = "the rule's date cannot be stored";
    return false;
  }
  return true;
}

std::optional<BackupEntry> FolderEntryFor(const std::string& path, const Command& command, std::string& error) {
  CFolderEntry entry;
  entry.m_strPath = path;
  entry.m_bRecursive = command.noRecurse ? 0 : 1;
  if (command.include) {
    std::optional<std::string> masks = NormalizeMaskList(*command.include, false, error);
    if (!masks) return std::nullopt;
    entry.m_strIncludeMasks = *masks;
  }
  if (command.exclude) {
    std::optional<std::string> masks = NormalizeMaskList(*command.exclude, true, error);
    if (!masks) return std::nullopt;
    entry.m_strExcludeMasks = *masks;
  }
  if (command.rule && !ApplyRule(*command.rule, entry.m_nIncludeRule, entry.m_nIncludeCount, entry.m_tmIncludeDate, error))
    return std::nullopt;
  if (command.excludeRule &&
      !ApplyRule(*command.excludeRule, entry.m_nExcludeRule, entry.m_nExcludeCount, entry.m_tmExcludeDate, error))
    return std::nullopt;
  return entry;
}

std::optional<BackupEntry> FileEntryFor(const std::string& path, const Command& command, std::string& error) {
  if (command.include || command.exclude || command.noRecurse || command.excludeRule) {
    error = "\"" + path + "\" is a file: only --rule applies to it";
    return std::nullopt;
  }
  CFileEntry entry;
  entry.m_strPath = path;
  if (command.rule && !ApplyRule(*command.rule, entry.m_nRule, entry.m_nCount, entry.m_tmDate, error))
    return std::nullopt;
  return entry;
}

}  // namespace

int AddEntry(const Command& command) {
  std::string error;
  std::string path;
  bool isFolder = false;
  if (!ResolvePath(command.path, path, isFolder, error)) return Refuse(error);
  const std::optional<BackupEntry> entry =
      isFolder ? FolderEntryFor(path, command, error) : FileEntryFor(path, command, error);
  if (!entry) return Refuse(error);

  const std::string key = BackupListKey();
  BackupList list = ReadBackupList(key);
  // Adding a path again replaces its row in place.
  const bool replaced = PutBackupRow(list, *entry);
  SaveBackupList(key, list);
  std::printf("%s %s %s\n", replaced ? "updated" : "added", isFolder ? "folder" : "file", path.c_str());
  return kExitDone;
}

int ListEntries() {
  const BackupList list = ReadBackupList(BackupListKey());
  if (list.empty()) {
    std::printf("The backup list is empty.\n");
    return kExitDone;
  }
  // The backup list's columns, in its words, and whether a folder's subfolders are searched.
  std::vector<std::array<std::string, 4>> rows = {{"Path", "Include Mask", "Exclude Mask", "Process recursively"}};
  for (const BackupEntry& entry : list) {
    if (const auto* folder = std::get_if<CFolderEntry>(&entry)) {
      const RowTexts texts = DescribeFolderRow(*folder);
      rows.push_back({folder->m_strPath, texts.include, texts.exclude, folder->m_bRecursive ? "yes" : "no"});
    } else {
      const auto& file = std::get<CFileEntry>(entry);
      const RowTexts texts = DescribeFileRow(file);
      rows.push_back({file.m_strPath, texts.include, texts.exclude, ""});
    }
  }
  std::array<size_t, 3> widths = {};
  for (const auto& row : rows) {
    for (size_t column = 0; column < widths.size(); ++column) {
      widths[column] = std::max(widths[column], row[column].size());
    }
  }
  for (const auto& row : rows) {
    std::string line;
    for (size_t column = 0; column < widths.size(); ++column) {
      line += row[column] + std::string(widths[column] + 2 - row[column].size(), ' ');
    }
    line += row[3];
    line.erase(line.find_last_not_of(' ') + 1);
    std::printf("%s\n", line.c_str());
  }
  return kExitDone;
}

int ClearEntries() {
  SaveBackupList(BackupListKey(), {});
  std::printf("The backup list is empty.\n");
  return kExitDone;
}
