#include "engine/selection_rules.h"

#include <set>
#include <vector>

#include "model/mask_list.h"
#include "platform/directory_search.h"
#include "platform/file_attributes.h"

namespace {

using ExclusionSet = std::set<std::string>;

std::string WithTrailingBackslash(const std::string& folder) {
  return (!folder.empty() && folder.back() == '\\') ? folder : folder + '\\';
}

bool IsDotName(const std::string& name) { return name == "." || name == ".."; }

// Calls `visit(folder)` for `folder` and every folder below it, depth first in the order
// the platform's search returns them.
template <typename Visit>
void ForEachFolderBelow(const std::string& folder, Visit&& visit) {
  visit(folder);
  platform::DirectorySearch search;
  if (!search.Open(folder + "*.*")) return;
  platform::FoundEntry found;
  while (search.Next(found)) {
    if ((found.attributes & platform::kAttributeDirectory) && !IsDotName(found.name)) {
      ForEachFolderBelow(folder + found.name + '\\', visit);
    }
  }
}

void GatherExclusions(const std::string& root, const std::string& mask, ExclusionSet& excluded) {
  ForEachFolderBelow(root, [&](const std::string& folder) {
    platform::DirectorySearch search;
    if (!search.Open(folder + mask)) return;
    platform::FoundEntry found;
    while (search.Next(found)) excluded.insert(folder + found.name);
  });
}

void IncludeWalk(const std::string& folder, const std::string& mask, const CFolderEntry& entry,
                 const ExclusionSet& excluded, BackupItems& items, const RuleClock& clock) {
  platform::DirectorySearch search;
  if (search.Open(folder + mask)) {
    platform::FoundEntry found;
    while (search.Next(found)) {
      if (found.attributes & (platform::kAttributeDirectory | platform::kAttributeTemporary)) continue;
      std::string path = folder + found.name;
      if (excluded.count(path) == 0) MatchDateRules(path, entry, items, clock);
    }
  }
  search.Close();
  if (entry.m_bRecursive == 0) return;

  if (!search.Open(folder + "*.*")) return;
  platform::FoundEntry found;
  while (search.Next(found)) {
    if ((found.attributes & platform::kAttributeDirectory) && !IsDotName(found.name)) {
      IncludeWalk(folder + found.name + '\\', mask, entry, excluded, items, clock);
    }
  }
}

// The last-write day of `path` from a search for the path itself; false when it is gone.
bool FileDayOf(const std::string& path, int64_t& day) {
  platform::DirectorySearch search;
  platform::FoundEntry found;
  if (!search.Open(path) || !search.Next(found)) return false;
  day = UtcDayOf(found.lastWriteTime);
  return true;
}

bool IncludeRuleHolds(int32_t kind, int32_t count, Time32 date, int64_t day, const RuleClock& clock) {
  return kind == RULE_NONE || RuleHolds(kind, count, date, day, clock);
}

void Append(const std::string& path, BackupItems& items) { items.push_back({path, LocalNameOf(path)}); }

}  // namespace

void CollectFolder(const CFolderEntry& entry, BackupItems& items, const RuleClock& clock) {
  const std::string root = WithTrailingBackslash(entry.m_strPath);

  std::vector<std::string> excludeMasks;
  SplitMasks(entry.m_strExcludeMasks, excludeMasks);
  ExclusionSet excluded;
  for (const std::string& mask : excludeMasks) GatherExclusions(root, mask, excluded);

  std::vector<std::string> includeMasks;
  SplitMasks(entry.m_strIncludeMasks, includeMasks);
  for (const std::string& mask : includeMasks) IncludeWalk(root, mask, entry, excluded, items, clock);
}

void MatchDateRules(const std::string& path, const CFolderEntry& entry, BackupItems& items, const RuleClock& clock) {
  int64_t day = 0;
  if (!FileDayOf(path, day)) return;
  if (!IncludeRuleHolds(entry.m_nIncludeRule, entry.m_nIncludeCount, entry.m_tmIncludeDate, day, clock)) return;
  if (RuleHolds(entry.m_nExcludeRule, entry.m_nExcludeCount, entry.m_tmExcludeDate, day, clock)) return;
  Append(path, items);
}

void AddFileEntry(const CFileEntry& entry, BackupItems& items, const RuleClock& clock) {
  int64_t day = 0;
  if (!FileDayOf(entry.m_strPath, day)) return;
  if (!IncludeRuleHolds(entry.m_nRule, entry.m_nCount, entry.m_tmDate, day, clock)) return;
  Append(entry.m_strPath, items);
}
