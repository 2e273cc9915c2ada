// Stored entry texts from any bytes. Parsing may refuse a text, never crash on it; a text it
// takes is stored back in a canonical form (numbers as "%d", recursion as "0"/"1", dates as
// the local day they name, text after the last field dropped), so the property is that the
// canonical form is a fixed point: format(parse(format(parse(t)))) == format(parse(t)).
// Dates additionally name the same moment however their three numbers are spelt: a month
// past 12 or a day past the month's end counts on into the following months.

#include <ctime>

#include "fuzz/fuzz_check.h"
#include "model/entry_text.h"
#include "platform/civil_days.h"

namespace {

template <typename Entry>
void CheckCanonicalFormIsStable(const std::string& text, bool (*parse)(const std::string&, Entry&),
                                std::string (*format)(const Entry&)) {
  Entry first, second;
  if (!parse(text, first)) return;
  const std::string canonical = format(first);
  FUZZ_CHECK(parse(canonical, second) && format(second) == canonical);
}

// A file text with a dated rule, re-spelt with its date normalised to a real calendar day, must
// give the same rule date.
void CheckDateSpellingDoesNotMatter(const std::string& text) {
  CFileEntry entry, normalised;
  if (!ParseFileEntry(text, entry) || !RuleUsesDate(entry.m_nRule)) return;
  size_t position = 0;
  std::string fields[6];
  for (std::string& field : fields) field = NextField(text, position, '\r');
  // atol on a 32-bit long, by the C library rather than the module's reader.
  int64_t ymd[3];
  for (int i = 0; i < 3; ++i)
    ymd[i] = std::clamp<long long>(std::strtoll(fields[3 + i].c_str(), nullptr, 10), INT32_MIN, INT32_MAX);
  const int64_t days = platform::DaysFromCivilNormalised(ymd[0], ymd[1], ymd[2]);
  // Beyond these the normalised year no longer fits the "%d" of a stored text.
  if (days < platform::DaysFromCivil(-2000000000, 1, 1) || days > platform::DaysFromCivil(2000000000, 1, 1)) return;
  const platform::CivilDate day = platform::CivilFromDays(days);
  const std::string respelt = fields[0] + "\r" + fields[1] + "\r" + fields[2] + "\r" + std::to_string(day.year) + "\r" +
                              std::to_string(day.month) + "\r" + std::to_string(day.day) + "\r";
  FUZZ_CHECK(ParseFileEntry(respelt, normalised) && normalised.m_tmDate == entry.m_tmDate);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Dates are stored as local days; a zone without daylight saving keeps every day 24 hours.
  setenv("TZ", "UTC0", 1);
  tzset();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = InputText(data, size);
  CheckCanonicalFormIsStable<CFolderEntry>(text, ParseFolderEntry, FormatFolderEntry);
  CheckCanonicalFormIsStable<CFileEntry>(text, ParseFileEntry, FormatFileEntry);
  CheckDateSpellingDoesNotMatter(text);
  return 0;
}
