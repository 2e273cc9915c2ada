#include "dialogs/rule_text.h"

#include <cstdio>
#include <ctime>

#include "platform/local_time.h"

namespace {

std::string Printf(const char* format, int32_t count, const char* suffix) {
  char text[64];
  std::snprintf(text, sizeof text, format, count, suffix);
  return text;
}

const char* PluralSuffix(int32_t count) { return count > 1 ? "s" : ""; }

}  // namespace

std::string FormatRuleDate(Time32 date) {
  const platform::CivilDate local = platform::LocalDateOf(date);
  std::tm tm{};
  tm.tm_year = local.year - 1900;
  tm.tm_mon = local.month - 1;
  tm.tm_mday = local.day;
  char text[64];
  const size_t size = std::strftime(text, sizeof text, "%d %b %Y", &tm);
  return std::string(text, size);
}

std::string FormatRuleText(int32_t kind, int32_t count, Time32 date, bool isFileRule) {
  switch (kind) {
    case RULE_NONE:
      return isFileRule ? "Backup Allways" : "";
    case RULE_TODAY:
      return "modified today";
    case RULE_LAST_DAYS:
      return Printf("modified for last %d days", count, "");
    case RULE_LAST_WEEKS:
      return Printf("modified for last %d week%s", count, PluralSuffix(count));
    case RULE_LAST_MONTHS:
      return Printf("modified for last %d month%s", count, PluralSuffix(count));
    case RULE_BEFORE:
      return "modified before " + FormatRuleDate(date);
    case RULE_AFTER:
      return "modified after " + FormatRuleDate(date);
    default:
      return "";
  }
}

RowTexts DescribeFileRow(const CFileEntry& entry) {
  return {FormatRuleText(entry.m_nRule, entry.m_nCount, entry.m_tmDate, true), kFileRowExcludeText};
}

RowTexts DescribeFolderRow(const CFolderEntry& entry) {
  RowTexts row{entry.m_strIncludeMasks, entry.m_strExcludeMasks};
  const std::string includeRule =
      FormatRuleText(entry.m_nIncludeRule, entry.m_nIncludeCount, entry.m_tmIncludeDate, false);
  if (!includeRule.empty()) row.include += " " + includeRule;
  const std::string excludeRule =
      FormatRuleText(entry.m_nExcludeRule, entry.m_nExcludeCount, entry.m_tmExcludeDate, false);
  if (!excludeRule.empty()) {
    if (!row.exclude.empty()) row.exclude += " ";
    row.exclude += excludeRule;
  }
  return row;
}

RowTexts NewRowTexts(bool folder) {
  return folder ? RowTexts{"*.*", ""} : RowTexts{"Backup allways", kFileRowExcludeText};
}
