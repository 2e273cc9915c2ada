#include "engine/selection_rules.h"

#include <vector>

#include "model/mask_list.h"
#include "platform/directory_search.h"
#include "platform/file_attributes.h"
#include "platform/folder_scan.h"

namespace {

bool KnownKind(int32_t kind) { return kind >= RULE_TODAY && kind <= RULE_AFTER; }

// Every folder is looked at once for all the entry's masks; a candidate's last-write time and
// attributes come from that same look, read only for the files still in the running, and the
// time only when a rule needs it.
class FolderWalk {
 public:
  FolderWalk(const CFolderEntry& entry, BackupItems& items, const RuleClock& clock)
      : entry_(entry), items_(items), clock_(clock) {
    SplitMasks(entry.m_strIncludeMasks, masks_);
    includeCount_ = masks_.size();
    SplitMasks(entry.m_strExcludeMasks, masks_);
    needs_ = entry.m_bRecursive != 0 ? platform::kScanSubfolders : 0u;
    needDates_ = KnownKind(entry.m_nIncludeRule) || KnownKind(entry.m_nExcludeRule);
  }

  void Run() {
    // An include rule of an unknown kind never holds: nothing can be selected.
    if (includeCount_ == 0 || (entry_.m_nIncludeRule != RULE_NONE && !KnownKind(entry_.m_nIncludeRule))) return;
    std::string root = entry_.m_strPath;
    if (root.empty() || root.back() != '\\') root += '\\';
    Visit(root);
  }

 private:
  void Visit(const std::string& folder) {
    platform::FolderScan scan;
    if (!platform::ScanFolder(folder, masks_, needs_, scan)) return;

    std::vector<char> excluded(scan.entries.size(), 0);
    for (size_t m = includeCount_; m < masks_.size(); ++m) {
      for (uint32_t index : scan.matches[m]) excluded[index] = 1;
    }
    for (size_t m = 0; m < includeCount_; ++m) {
      for (uint32_t index : scan.matches[m]) {
        if (excluded[index] || (scan.entries[index].attributes & platform::kAttributeDirectory)) continue;
        if (needDates_ && (!platform::CompleteEntry(scan, index, platform::kEntryTime) ||
                           !MatchDateRules(UtcDayOf(scan.entries[index].lastWriteTime), entry_, clock_))) {
          continue;
        }
        if (!platform::CompleteEntry(scan, index, platform::kEntryAttributes) ||
            (scan.entries[index].attributes & platform::kAttributeTemporary)) {
          continue;
        }
        items_.Add(folder, scan.entries[index].name);
      }
    }
    platform::ReleaseFolder(scan);
    for (uint32_t index : scan.subfolders) Visit(folder + scan.entries[index].name + '\\');
  }

  const CFolderEntry& entry_;
  BackupItems& items_;
  const RuleClock& clock_;
  std::vector<std::string> masks_;  // the include masks, then the exclude masks
  size_t includeCount_ = 0;
  unsigned needs_ = 0;
  bool needDates_ = false;
};

bool IncludeRuleHolds(int32_t kind, int32_t count, Time32 date, int64_t day, const RuleClock& clock) {
  return kind == RULE_NONE || RuleHolds(kind, count, date, day, clock);
}

}  // namespace

void CollectFolder(const CFolderEntry& entry, BackupItems& items, const RuleClock& clock) {
  FolderWalk(entry, items, clock).Run();
}

bool MatchDateRules(int64_t fileDay, const CFolderEntry& entry, const RuleClock& clock) {
  return IncludeRuleHolds(entry.m_nIncludeRule, entry.m_nIncludeCount, entry.m_tmIncludeDate, fileDay, clock) &&
         !RuleHolds(entry.m_nExcludeRule, entry.m_nExcludeCount, entry.m_tmExcludeDate, fileDay, clock);
}

void AddFileEntry(const CFileEntry& entry, BackupItems& items, const RuleClock& clock) {
  // The entry names one file. A wildcard (which no Windows name holds) would turn the lookup
  // into a search and hand the host the pattern as if it were a path.
  if (entry.m_strPath.find_first_of("*?") != std::string::npos) return;
  platform::DirectorySearch search;
  platform::FoundEntry found;
  if (!search.Open(entry.m_strPath) || !search.Next(found)) return;
  if (!IncludeRuleHolds(entry.m_nRule, entry.m_nCount, entry.m_tmDate, UtcDayOf(found.lastWriteTime), clock)) return;
  items.Add(entry.m_strPath);
}
