#pragma once
#include <string>

#include "model/date_rule.h"
#include "model/file_entry.h"
#include "model/folder_entry.h"

// The one-line description of a date rule ("modified for last 2 weeks"). RULE_NONE reads
// "Backup Allways" for a file's rule and nothing for a folder's include or exclude rule.
std::string FormatRuleText(int32_t kind, int32_t count, Time32 date, bool isFileRule);

// A rule date as the list shows it: "05 Mar 2003", in local time.
std::string FormatRuleDate(Time32 date);

// The "Include Mask" and "Exclude Mask" cells of a backup list row.
struct RowTexts {
  std::string include;
  std::string exclude;
};

// A file row reads its rule and "[none]"; the list recognises file rows by that "[none]".
RowTexts DescribeFileRow(const CFileEntry& entry);
RowTexts DescribeFolderRow(const CFolderEntry& entry);

inline constexpr const char* kFileRowExcludeText = "[none]";

// The texts of a row added without an entry, before its properties were ever confirmed: a
// folder reads "*.*" and nothing; a file "Backup allways" (small a, unlike a confirmed rule's
// "Backup Allways") and "[none]".
RowTexts NewRowTexts(bool folder);
