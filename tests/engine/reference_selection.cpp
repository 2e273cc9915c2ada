#include "tests/engine/reference_selection.h"

#include <set>
#include <string>
#include <vector>

#include "engine/selection_rules.h"
#include "model/mask_list.h"
#include "platform/directory_search.h"
#include "platform/file_attributes.h"

namespace reference {
namespace {

using platform::DirectorySearch;
using platform::FoundEntry;

bool IsSubfolder(const FoundEntry& found) {
  return (found.attributes & platform::kAttributeDirectory) && found.name != "." && found.name != "..";
}

void GatherExclusions(const std::string& folder, const std::string& mask, std::set<std::string>& excluded) {
  DirectorySearch search;
  FoundEntry found;
  if (search.Open(folder + mask)) {
    while (search.Next(found)) excluded.insert(folder + found.name);
  }
  if (!search.Open(folder + "*.*")) return;
  while (search.Next(found)) {
    if (IsSubfolder(found)) GatherExclusions(folder + found.name + '\\', mask, excluded);
  }
}

void DateTest(const std::string& path, const CFolderEntry& entry, BackupItems& items, const RuleClock& clock) {
  DirectorySearch search;
  FoundEntry found;
  if (!search.Open(path) || !search.Next(found)) return;
  if (MatchDateRules(UtcDayOf(found.lastWriteTime), entry, clock)) items.Add(path);
}

void IncludeWalk(const std::string& folder, const std::string& mask, const CFolderEntry& entry,
                 const std::set<std::string>& excluded, BackupItems& items, const RuleClock& clock) {
  DirectorySearch search;
  FoundEntry found;
  if (search.Open(folder + mask)) {
    while (search.Next(found)) {
      if (found.attributes & (platform::kAttributeDirectory | platform::kAttributeTemporary)) continue;
      const std::string path = folder + found.name;
      if (excluded.count(path) == 0) DateTest(path, entry, items, clock);
    }
  }
  if (entry.m_bRecursive == 0 || !search.Open(folder + "*.*")) return;
  while (search.Next(found)) {
    if (IsSubfolder(found)) IncludeWalk(folder + found.name + '\\', mask, entry, excluded, items, clock);
  }
}

}  // namespace

void CollectFolder(const CFolderEntry& entry, BackupItems& items, const RuleClock& clock) {
  std::string root = entry.m_strPath;
  if (root.empty() || root.back() != '\\') root += '\\';
  std::vector<std::string> masks;
  std::set<std::string> excluded;
  SplitMasks(entry.m_strExcludeMasks, masks);
  for (const std::string& mask : masks) GatherExclusions(root, mask, excluded);
  masks.clear();
  SplitMasks(entry.m_strIncludeMasks, masks);
  for (const std::string& mask : masks) IncludeWalk(root, mask, entry, excluded, items, clock);
}

}  // namespace reference
