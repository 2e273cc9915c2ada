#include "model/settings_store.h"

#include "model/entry_text.h"
#include "model/join_path.h"
#include "model/module_strings.h"
#include "registry/registry_store.h"

namespace {

constexpr const char kSettingsRoot[] = "HKEY_CURRENT_USER\\SOFTWARE\\Korvel\\Tessarine";
constexpr const char kDestinationValue[] = "Destination";
constexpr const char kOverwriteValue[] = "Overwrite";

// Whether the name's first four characters are "FILE" in any case.
bool IsBackupListValueName(const std::string& name) {
  static constexpr char kPrefix[] = "FILE";
  if (name.size() < 4) return false;
  for (size_t i = 0; i < 4; ++i) {
    const char c = name[i];
    const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    if (upper != kPrefix[i]) return false;
  }
  return true;
}

// Calls visit(name) for each value of `key` in enumeration order until it returns false.
template <typename Visit>
void ForEachValueName(const CRegistryStore& store, const std::string& key, Visit visit) {
  const uint32_t count = store.EnumValue(key);
  for (uint32_t index = 0; index < count; ++index) {
    std::string name;
    store.EnumValue(key, static_cast<int32_t>(index), &name);
    if (!visit(name)) return;
  }
}

// The folder form is tried first, so a text that holds both separators is a folder.
bool ParseStoredEntry(const std::string& text, BackupEntry& entry) {
  CFolderEntry folder;
  if (ParseFolderEntry(text, folder)) {
    entry = std::move(folder);
    return true;
  }
  CFileEntry file;
  if (ParseFileEntry(text, file)) {
    entry = std::move(file);
    return true;
  }
  return false;
}

}  // namespace

std::string SettingsKeyBase() { return JoinPath(kSettingsRoot, ModuleString(IDS_SERVICE_CLSID)); }

std::string BackupListKey() { return JoinPath(SettingsKeyBase(), ModuleString(IDS_BACKUP_LIST_KEY)); }

std::string RestoreOptionsKey() { return JoinPath(SettingsKeyBase(), ModuleString(IDS_RESTORE_OPTIONS_KEY)); }

BackupList ReadBackupList(const std::string& key) {
  const CRegistryStore store;
  BackupList entries;
  ForEachValueName(store, key, [&](const std::string& name) {
    if (!IsBackupListValueName(name)) return true;
    const std::string text = store.ReadString(key, name);
    BackupEntry entry;
    if (!text.empty() && ParseStoredEntry(text, entry)) entries.push_back(std::move(entry));
    return true;
  });
  return entries;
}

void SaveBackupList(const std::string& key, const BackupList& entries) {
  std::vector<std::string> texts;
  texts.reserve(entries.size());
  for (const BackupEntry& entry : entries) {
    texts.push_back(std::holds_alternative<CFolderEntry>(entry) ? FormatFolderEntry(std::get<CFolderEntry>(entry))
                                                                : FormatFileEntry(std::get<CFileEntry>(entry)));
  }
  SaveBackupListTexts(key, texts);
}

void SaveBackupListTexts(const std::string& key, const std::vector<std::string>& texts) {
  const CRegistryStore store;
  store.ClearValues(key);
  for (size_t row = 0; row < texts.size(); ++row) store.WriteString(key, "file" + std::to_string(row), texts[row]);
}

bool HasBackupListValues(const std::string& key) {
  bool found = false;
  ForEachValueName(CRegistryStore(), key, [&](const std::string& name) {
    found = IsBackupListValueName(name);
    return !found;
  });
  return found;
}

RestoreOptions ReadRestoreOptions(const std::string& key) {
  const CRegistryStore store;
  RestoreOptions options;
  options.destination = store.ReadString(key, kDestinationValue);
  options.overwrite = store.ReadDword(key, kOverwriteValue);
  return options;
}

void SaveRestoreOptions(const std::string& key, const RestoreOptions& options) {
  const CRegistryStore store;
  store.ClearValues(key);
  store.WriteString(key, kDestinationValue, options.destination);
  store.WriteDword(key, kOverwriteValue, options.overwrite);
}
