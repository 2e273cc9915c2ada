#include "model/entry_text.h"

#include <climits>
#include <cstdint>

#include "platform/civil_days.h"
#include "platform/local_time.h"

namespace {

constexpr char kFileSeparator = '\r';
constexpr char kFolderSeparator = '\t';

void AppendField(std::string& text, const std::string& field, char separator) {
  text += field;
  text += separator;
}

void AppendNumber(std::string& text, int32_t value, char separator) {
  AppendField(text, std::to_string(value), separator);
}

void AppendDate(std::string& text, Time32 date, char separator) {
  const platform::CivilDate local = platform::LocalDateOf(date);
  AppendNumber(text, local.year, separator);
  AppendNumber(text, local.month, separator);
  AppendNumber(text, local.day, separator);
}

// Reads `atol`-style: leading white space, an optional sign, decimal digits up to the first
// other character; no digits gives 0. Values beyond 32 bits saturate instead of wrapping.
int32_t ReadNumber(const std::string& field) {
  size_t i = 0;
  while (i < field.size() && (field[i] == ' ' || (field[i] >= '\t' && field[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
  int64_t value = 0;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
    value = value * 10 + (field[i] - '0');
    if (value > static_cast<int64_t>(INT32_MAX) + 1) value = static_cast<int64_t>(INT32_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  return static_cast<int32_t>(value);
}

// Walks a stored text field by field.
class FieldReader {
 public:
  FieldReader(const std::string& text, char separator) : m_strText(text), m_chSeparator(separator) {}

  bool Text(std::string& field) {
    const size_t end = m_strText.find(m_chSeparator, m_nPosition);
    if (end == std::string::npos) return false;
    field.assign(m_strText, m_nPosition, end - m_nPosition);
    m_nPosition = end + 1;
    return true;
  }

  bool Number(int32_t& value) {
    std::string field;
    if (!Text(field)) return false;
    value = ReadNumber(field);
    return true;
  }

  // Three numbers, year, month, day, rebuilt as 00:00 local standard time of that day.
  bool Date(Time32& date) {
    int32_t year = 0, month = 0, day = 0;
    if (!Number(year) || !Number(month) || !Number(day)) return false;
    if (!platform::LocalStandardMidnight({year, month, day}, date)) {
      // Beyond the 32-bit range: the nearest representable moment keeps "before" and
      // "after" meaning what the user chose. The side is that of the day the three numbers
      // name, which the year alone does not tell (year 5, day 2008007 is in the 56th century).
      date = platform::DaysFromCivilNormalised(year, month, day) < 0 ? INT32_MIN : INT32_MAX;
    }
    return true;
  }

 private:
  const std::string& m_strText;
  const char m_chSeparator;
  size_t m_nPosition = 0;
};

}  // namespace

std::string FormatFileEntry(const CFileEntry& entry) {
  std::string text;
  AppendField(text, entry.m_strPath, kFileSeparator);
  AppendNumber(text, entry.m_nRule, kFileSeparator);
  AppendNumber(text, entry.m_nCount, kFileSeparator);
  if (RuleUsesDate(entry.m_nRule)) AppendDate(text, entry.m_tmDate, kFileSeparator);
  return text;
}

std::string FormatFolderEntry(const CFolderEntry& entry) {
  std::string text;
  AppendField(text, entry.m_strPath, kFolderSeparator);
  AppendField(text, entry.m_bRecursive == 1 ? "1" : "0", kFolderSeparator);
  AppendField(text, entry.m_strIncludeMasks, kFolderSeparator);
  AppendNumber(text, entry.m_nIncludeRule, kFolderSeparator);
  AppendNumber(text, entry.m_nIncludeCount, kFolderSeparator);
  if (RuleUsesDate(entry.m_nIncludeRule)) AppendDate(text, entry.m_tmIncludeDate, kFolderSeparator);
  AppendField(text, entry.m_strExcludeMasks, kFolderSeparator);
  AppendNumber(text, entry.m_nExcludeRule, kFolderSeparator);
  AppendNumber(text, entry.m_nExcludeCount, kFolderSeparator);
  if (RuleUsesDate(entry.m_nExcludeRule)) AppendDate(text, entry.m_tmExcludeDate, kFolderSeparator);
  return text;
}

bool ParseFileEntry(const std::string& text, CFileEntry& entry) {
  FieldReader fields(text, kFileSeparator);
  if (!fields.Text(entry.m_strPath) || !fields.Number(entry.m_nRule) || !fields.Number(entry.m_nCount)) return false;
  return !RuleUsesDate(entry.m_nRule) || fields.Date(entry.m_tmDate);
}

bool ParseFolderEntry(const std::string& text, CFolderEntry& entry) {
  FieldReader fields(text, kFolderSeparator);
  std::string recursive;
  if (!fields.Text(entry.m_strPath) || !fields.Text(recursive)) return false;
  entry.m_bRecursive = recursive == "1" ? 1 : 0;
  if (!fields.Text(entry.m_strIncludeMasks) || !fields.Number(entry.m_nIncludeRule) ||
      !fields.Number(entry.m_nIncludeCount)) {
    return false;
  }
  if (RuleUsesDate(entry.m_nIncludeRule) && !fields.Date(entry.m_tmIncludeDate)) return false;
  if (!fields.Text(entry.m_strExcludeMasks) || !fields.Number(entry.m_nExcludeRule) ||
      !fields.Number(entry.m_nExcludeCount)) {
    return false;
  }
  return !RuleUsesDate(entry.m_nExcludeRule) || fields.Date(entry.m_tmExcludeDate);
}
