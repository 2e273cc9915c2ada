// Stored entry texts from any bytes. Parsing may refuse a text, never crash on it; a text it
// takes is stored back in a canonical form (numbers as "%d", recursion as "0"/"1", dates as
// the local day they name, text after the last field dropped), so the property is that the
// canonical form is a fixed point: format(parse(format(parse(t)))) == format(parse(t)).
// Dates additionally name the same moment however their three numbers are spelt: a month
// past 12 or a day past the month's end counts on into the following months.

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "model/entry_text.h"
#include "platform/civil_days.h"

namespace {

std::vector<std::string> SplitFields(const std::string& text, char separator) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1) {
    fields.push_back(text.substr(start, end - start));
  }
  return fields;
}

// atol on a 32-bit long, by the C library rather than the module's reader.
int64_t CLibraryNumber(const std::string& field) {
  const long long value = std::strtoll(field.c_str(), nullptr, 10);
  return value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : value;
}

template <typename Entry>
void CheckCanonicalFormIsStable(const std::string& text, bool (*parse)(const std::string&, Entry&),
                                std::string (*format)(const Entry&)) {
  Entry first;
  if (!parse(text, first)) return;
  const std::string canonical = format(first);
  Entry second;
  FUZZ_CHECK(parse(canonical, second));
  FUZZ_CHECK(format(second) == canonical);
}

// A file text with a dated rule, re-spelt with its date normalised to a real calendar day,
// must give the same rule date.
void CheckDateSpellingDoesNotMatter(const std::string& text) {
  CFileEntry entry;
  if (!ParseFileEntry(text, entry) || !RuleUsesDate(entry.m_nRule)) return;
  const std::vector<std::string> fields = SplitFields(text, '\r');
  const int64_t days = platform::DaysFromCivilNormalised(CLibraryNumber(fields[3]), CLibraryNumber(fields[4]),
                                                         CLibraryNumber(fields[5]));
  // Beyond these the normalised year no longer fits the "%d" of a stored text.
  if (days < platform::DaysFromCivil(-2000000000, 1, 1) || days > platform::DaysFromCivil(2000000000, 1, 1)) return;
  const platform::CivilDate day = platform::CivilFromDays(days);
  const std::string respelt = entry.m_strPath + "\r" + std::to_string(entry.m_nRule) + "\r" +
                              std::to_string(entry.m_nCount) + "\r" + std::to_string(day.year) + "\r" +
                              std::to_string(day.month) + "\r" + std::to_string(day.day) + "\r";
  CFileEntry normalised;
  FUZZ_CHECK(ParseFileEntry(respelt, normalised));
  FUZZ_CHECK(normalised.m_tmDate == entry.m_tmDate);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Dates are stored as local days; a zone without daylight saving keeps every day 24 hours.
  setenv("TZ", "UTC0", 1);
  tzset();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckCanonicalFormIsStable<CFolderEntry>(text, ParseFolderEntry, FormatFolderEntry);
  CheckCanonicalFormIsStable<CFileEntry>(text, ParseFileEntry, FormatFileEntry);
  CheckDateSpellingDoesNotMatter(text);
  return 0;
}
