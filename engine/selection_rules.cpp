#include "engine/selection_rules.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "model/mask_list.h"
#include "platform/compare_no_case.h"
#include "platform/directory_search.h"
#include "platform/file_attributes.h"
#include "platform/folder_scan.h"

namespace {

bool KnownKind(int32_t kind) { return kind >= RULE_TODAY && kind <= RULE_AFTER; }

// Every folder is looked at once for all the entry's masks; a candidate's last-write time and
// attributes come from that same look, read only for the files still in the running, and the
// time only when a rule needs it.
//
// The files come out already in the run's order, so that a million paths are never sorted as
// a whole: a folder's selected files and its subfolders (as "name\") are ordered among
// themselves, and each subfolder's files are written where its name falls. Full paths
// compare character by character and no name holds a "\", so that is their order. Subfolder
// names equal but for case (where the file system keeps both) break it; such a folder is
// ordered as a whole afterwards.
class FolderWalk {
 public:
  FolderWalk(const CFolderEntry& entry, BackupItems& items, const RuleClock& clock)
      : m_entry(entry), m_items(items), m_clock(clock) {
    SplitMasks(entry.m_strIncludeMasks, m_masks);
    m_nIncludeMasks = m_masks.size();
    SplitMasks(entry.m_strExcludeMasks, m_masks);
    m_nNeeds = entry.m_bRecursive != 0 ? platform::kScanSubfolders : 0u;
    m_bNeedDates = KnownKind(entry.m_nIncludeRule) || KnownKind(entry.m_nExcludeRule);
  }

  void Run() {
    // An include rule of an unknown kind never holds: nothing can be selected.
    if (m_nIncludeMasks == 0 || (m_entry.m_nIncludeRule != RULE_NONE && !KnownKind(m_entry.m_nIncludeRule))) return;
    std::string root = m_entry.m_strPath;
    if (root.empty() || root.back() != '\\') root += '\\';
    m_nBegin = m_items.size();
    Visit(root, 0, nullptr, 0);
  }

 private:
  // A file to write or a subfolder to visit, with the text it is ordered by.
  struct Place {
    std::string_view key;
    uint32_t index;     // into the scan's entries
    uint32_t mask;      // the include mask that took a file; UINT32_MAX for a subfolder
    uint32_t sequence;  // in the order the files were collected
  };
  // What one depth of the walk needs, kept for the next folder at that depth.
  struct Level {
    platform::FolderScan scan;
    std::vector<char> excluded;
    std::vector<Place> places;
    std::string subfolderKeys;
  };

  Level& LevelAt(size_t depth) {
    while (m_levels.size() <= depth) m_levels.push_back(std::make_unique<Level>());
    return *m_levels[depth];
  }

  bool Selected(platform::FolderScan& scan, uint32_t index) {
    if (scan.entries[index].attributes & platform::kAttributeDirectory) return false;
    if (m_bNeedDates && (!platform::CompleteEntry(scan, index, platform::kEntryTime) ||
                       !MatchDateRules(UtcDayOf(scan.entries[index].lastWriteTime), m_entry, m_clock))) {
      return false;
    }
    return platform::CompleteEntry(scan, index, platform::kEntryAttributes) &&
           !(scan.entries[index].attributes & platform::kAttributeTemporary);
  }

  // Fills the level's places in the order the files are collected: the include masks in turn,
  // each in search order, then the subfolders in search order.
  void CollectPlaces(Level& level) {
    platform::FolderScan& scan = level.scan;
    level.places.clear();
    level.excluded.assign(scan.entries.size(), 0);
    for (size_t m = m_nIncludeMasks; m < m_masks.size(); ++m) {
      for (uint32_t index : scan.matches[m]) level.excluded[index] = 1;
    }
    for (size_t m = 0; m < m_nIncludeMasks; ++m) {
      for (uint32_t index : scan.matches[m]) {
        if (level.excluded[index] || !Selected(scan, index)) continue;
        level.places.push_back({scan.Name(index), index, static_cast<uint32_t>(m), 0});
      }
    }
    level.subfolderKeys.clear();
    for (uint32_t index : scan.subfolders) level.subfolderKeys.append(scan.Name(index)).push_back('\\');
    size_t offset = 0;
    for (uint32_t index : scan.subfolders) {
      const size_t size = scan.entries[index].nameSize + 1;
      level.places.push_back({std::string_view(level.subfolderKeys.data() + offset, size), index, UINT32_MAX, 0});
      offset += size;
    }
    for (size_t i = 0; i < level.places.size(); ++i) level.places[i].sequence = static_cast<uint32_t>(i);
  }

  // Orders the places by their keys; false when the folder cannot be ordered that way.
  static bool OrderPlaces(std::vector<Place>& places) {
    auto before = [](const Place& a, const Place& b) { return platform::CompareNoCase(a.key, b.key) < 0; };
    if (places.size() < 32) {
      for (size_t i = 1; i < places.size(); ++i) {  // a stable insertion sort: no buffer to allocate
        Place place = places[i];
        size_t j = i;
        for (; j > 0 && before(place, places[j - 1]); --j) places[j] = places[j - 1];
        places[j] = place;
      }
    } else {
      std::stable_sort(places.begin(), places.end(), before);
    }
    for (size_t i = 1; i < places.size(); ++i) {
      if (places[i].mask == UINT32_MAX && places[i - 1].mask == UINT32_MAX &&
          platform::CompareNoCase(places[i].key, places[i - 1].key) == 0) {
        return false;
      }
    }
    return true;
  }

  void Visit(const std::string& folder, size_t depth, const platform::FolderScan* parent, uint32_t indexInParent) {
    Level& level = LevelAt(depth);
    const bool read = parent != nullptr
                          ? platform::ScanSubfolder(*parent, indexInParent, folder, m_masks, m_nNeeds, level.scan)
                          : platform::ScanFolder(folder, m_masks, m_nNeeds, level.scan);
    if (!read) return;

    CollectPlaces(level);
    const bool ordered = OrderPlaces(level.places);
    if (!ordered) {
      std::sort(level.places.begin(), level.places.end(),
                [](const Place& a, const Place& b) { return a.sequence < b.sequence; });
    }
    const size_t first = m_items.size();
    for (const Place& place : level.places) {
      if (place.mask != UINT32_MAX) {
        m_items.Add(folder, place.key);
        m_masksTaken.push_back(place.mask);
      } else {
        Visit(folder + std::string(place.key), depth + 1, &level.scan, place.index);
      }
    }
    if (!ordered) OrderFrom(first);
  }

  // Orders the files from `first` on as the run would: by path, then by the include mask that
  // took them (the order they would have been collected in), then as they stand.
  void OrderFrom(size_t first) {
    const std::vector<size_t> order = m_items.SortFrom(first, [this](size_t a, size_t b) {
      const int byPath = platform::CompareNoCase(m_items[a].FileName, m_items[b].FileName);
      return byPath != 0 ? byPath < 0 : m_masksTaken[a - m_nBegin] < m_masksTaken[b - m_nBegin];
    });
    std::vector<uint32_t> masks(order.size());
    for (size_t i = 0; i < order.size(); ++i) masks[i] = m_masksTaken[order[i] - m_nBegin];
    std::copy(masks.begin(), masks.end(), m_masksTaken.begin() + static_cast<std::ptrdiff_t>(first - m_nBegin));
  }

  const CFolderEntry& m_entry;
  BackupItems& m_items;
  const RuleClock& m_clock;
  std::vector<std::string> m_masks;  // the include masks, then the exclude masks
  size_t m_nIncludeMasks = 0;
  unsigned m_nNeeds = 0;
  bool m_bNeedDates = false;
  size_t m_nBegin = 0;                  // the first file this entry appends
  std::vector<uint32_t> m_masksTaken;  // per file from m_nBegin on: the include mask that took it
  std::vector<std::unique_ptr<Level>> m_levels;
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
