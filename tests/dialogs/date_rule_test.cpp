// The date rule controls of both properties dialogs: the folder dialog's include and exclude
// sides and the file dialog's one rule show a stored rule, enable what it governs and write
// back what the user chose.
#include <gtest/gtest.h>

#include <functional>

#include "dialogs/file_properties_dialog.h"
#include "dialogs/folder_properties_dialog.h"
#include "dialogs/rule_text.h"
#include "model/entry_text.h"
#include "tests/dialogs/dialog_test.h"
#include "tests/support/time_zone.h"

namespace {

using uitest::Click;

struct StoredRule {
  int32_t kind;
  int32_t count;
  Time32 date;
};

struct Outcome {
  int result;
  std::string before, after;  // the entry's stored text
  StoredRule rule;            // the rule afterwards
};

template <int32_t CFolderEntry::*kKind, int32_t CFolderEntry::*kCount, Time32 CFolderEntry::*kDate>
Outcome RunFolder(const StoredRule& rule) {
  CFolderEntry entry;
  entry.m_strPath = "C:\\Data";
  entry.*kKind = rule.kind;
  entry.*kCount = rule.count;
  entry.*kDate = rule.date;
  Outcome run{0, FormatFolderEntry(entry), {}, {}};
  run.result = CFolderPropertiesDialog(entry).Run();
  run.after = FormatFolderEntry(entry);
  run.rule = {entry.*kKind, entry.*kCount, entry.*kDate};
  return run;
}

Outcome RunFile(const StoredRule& rule) {
  CFileEntry entry{"C:\\Data\\a.txt", rule.kind, rule.count, rule.date};
  Outcome run{0, FormatFileEntry(entry), {}, {}};
  run.result = CFilePropertiesDialog(entry).Run();
  run.after = FormatFileEntry(entry);
  run.rule = {entry.m_nRule, entry.m_nCount, entry.m_tmDate};
  return run;
}

struct RulePlace {
  const char* name;
  const char* caption;
  const RuleIds* ids;
  Outcome (*run)(const StoredRule&);
};

const RulePlace kPlaces[] = {
    {"FolderInclude", kFolderDialog, &kIncludeRule,
     &RunFolder<&CFolderEntry::m_nIncludeRule, &CFolderEntry::m_nIncludeCount, &CFolderEntry::m_tmIncludeDate>},
    {"FolderExclude", kFolderDialog, &kExcludeRule,
     &RunFolder<&CFolderEntry::m_nExcludeRule, &CFolderEntry::m_nExcludeCount, &CFolderEntry::m_tmExcludeDate>},
    {"File", kFileDialog, &kFileRule, &RunFile},
};

// Runs the place's dialog on `rule` with `act` done on it.
Outcome RunWith(const RulePlace& place, const StoredRule& rule, std::function<void(HWND, const RuleIds&)> act) {
  uitest::ModalDriver driver;
  driver.On(place.caption, [&](HWND dialog) { act(dialog, *place.ids); });
  return place.run(rule);
}

// A stored rule as the dialog shows it; confirming without a change writes nothing.
struct Shown {
  const char* name;
  StoredRule rule;
  int RuleIds::*checked;  // the radio checked, none when null
  int RuleIds::*extra;    // the list or picker enabled besides the radios
  const char* extraText;  // its selected item, or its date
};

const Shown kShown[] = {
    {"None", {RULE_NONE, -1, 0}, nullptr, nullptr, ""},
    {"Today", {RULE_TODAY, -1, 0}, &RuleIds::today, nullptr, ""},
    {"Days", {RULE_LAST_DAYS, 5, 0}, &RuleIds::days, &RuleIds::dayList, "5"},
    {"DaysNotOffered", {RULE_LAST_DAYS, 8, 0}, &RuleIds::days, &RuleIds::dayList, "2"},
    {"WeeksNotOffered", {RULE_LAST_WEEKS, 9, 0}, &RuleIds::weeks, &RuleIds::weekList, "1"},
    {"Before", {RULE_BEFORE, -1, LocalDate(2003, 3, 5)}, &RuleIds::before, &RuleIds::picker, "2003-3-5"},
    {"After", {RULE_AFTER, 7, LocalDate(2019, 12, 31)}, &RuleIds::after, &RuleIds::picker, "2019-12-31"},
    {"UnknownKind", {9, 3, 0}, nullptr, nullptr, ""},
};

// The selected item of a drop-down list, or the date of a picker.
std::string ExtraText(HWND dialog, int id, bool picker) {
  if (!picker) {
    char text[16] = {};
    const LRESULT index = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
  }
  SYSTEMTIME day = {};
  SendDlgItemMessageA(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&day));
  return std::to_string(day.wYear) + "-" + std::to_string(day.wMonth) + "-" + std::to_string(day.wDay);
}

class ShownRule : public testing::TestWithParam<std::tuple<RulePlace, Shown>> {};

TEST_P(ShownRule, EnablesWhatItGovernsAndConfirmsAsUntouched) {
  const auto& [place, shown] = GetParam();
  const Outcome run = RunWith(place, shown.rule, [&](HWND dialog, const RuleIds& ids) {
    const bool on = shown.rule.kind != RULE_NONE;
    std::vector<int> enabled = on ? ids.Radios() : std::vector<int>{};
    if (shown.extra) enabled.push_back(ids.*shown.extra);
    const std::string found = uitest::DescribeControls(dialog, ids.Governed());
    EXPECT_EQ(uitest::IsChecked(dialog, ids.on), on);
    EXPECT_EQ(EnabledOf(dialog, ids.Governed()), enabled) << found;
    EXPECT_EQ(CheckedOf(dialog, ids.Radios()), shown.checked ? std::vector<int>{ids.*shown.checked} : std::vector<int>{})
        << found;
    if (shown.extra) {
      EXPECT_EQ(ExtraText(dialog, ids.*shown.extra, shown.extra == &RuleIds::picker), shown.extraText);
    }
    Click(dialog, IDOK);
  });
  EXPECT_EQ(run.result, 2);
  EXPECT_EQ(run.after, run.before);
}

// A user's change of a rule and what confirming writes. Steps: 'c' clicks the control, 'l'
// chooses item `value` of the list, 'd' sets the picker to the date `value` (yyyymmdd).
struct Step {
  char verb;
  int RuleIds::*control;
  int value;
};

struct Edit {
  const char* name;
  StoredRule start;
  std::vector<Step> steps;
  StoredRule written;
};

const Edit kEdits[] = {
    {"SwitchOnChecksToday", {RULE_NONE, -1, 0}, {{'c', &RuleIds::on, 0}}, {RULE_TODAY, -1, 0}},
    {"DaysWithACount", {RULE_NONE, -1, 0},
     {{'c', &RuleIds::on, 0}, {'c', &RuleIds::days, 0}, {'l', &RuleIds::dayList, 3}}, {RULE_LAST_DAYS, 5, 0}},
    {"WeeksTakeTheFirstItem", {RULE_TODAY, -1, 0}, {{'c', &RuleIds::weeks, 0}}, {RULE_LAST_WEEKS, 1, 0}},
    {"MonthsWithACount", {RULE_TODAY, -1, 0}, {{'c', &RuleIds::months, 0}, {'l', &RuleIds::monthList, 35}},
     {RULE_LAST_MONTHS, 36, 0}},
    {"BeforeADate", {RULE_TODAY, -1, 0}, {{'c', &RuleIds::before, 0}, {'d', &RuleIds::picker, 20030305}},
     {RULE_BEFORE, -1, LocalDate(2003, 3, 5)}},
    {"ADateAloneIsAChange", {RULE_BEFORE, 4, LocalDate(2003, 3, 5)}, {{'d', &RuleIds::picker, 20040229}},
     {RULE_BEFORE, 4, LocalDate(2004, 2, 29)}},
    {"ACountAloneIsAChange", {RULE_LAST_WEEKS, 3, 0}, {{'l', &RuleIds::weekList, 0}}, {RULE_LAST_WEEKS, 1, 0}},
    // Off keeps the count and the date; the period radio keeps its check for a switch back.
    {"SwitchOffKeepsCountAndDate", {RULE_LAST_DAYS, 6, LocalDate(2003, 3, 5)}, {{'c', &RuleIds::off, 0}},
     {RULE_NONE, 6, LocalDate(2003, 3, 5)}},
    {"SwitchBackOnKeepsThePeriod", {RULE_LAST_WEEKS, 3, 0}, {{'c', &RuleIds::off, 0}, {'c', &RuleIds::on, 0}},
     {RULE_LAST_WEEKS, 3, 0}},
};

class EditedRule : public testing::TestWithParam<std::tuple<RulePlace, Edit>> {};

// A step on a disabled control fails the test: the enabling rules are checked on the way.
TEST_P(EditedRule, IsWrittenOnConfirm) {
  const auto& [place, edit] = GetParam();
  const Outcome run = RunWith(place, edit.start, [&](HWND dialog, const RuleIds& ids) {
    for (const Step& step : edit.steps) {
      if (step.verb == 'c') Click(dialog, ids.*step.control);
      if (step.verb == 'l') uitest::ChooseComboItem(dialog, ids.*step.control, step.value);
      if (step.verb == 'd')
        uitest::SetPickerDate(dialog, ids.picker, Day(step.value / 10000, step.value / 100 % 100, step.value % 100));
    }
    const std::vector<int> radios = edit.written.kind == RULE_NONE ? std::vector<int>{} : ids.Radios();
    EXPECT_EQ(EnabledOf(dialog, ids.Radios()), radios) << uitest::DescribeControls(dialog, ids.Governed());
    Click(dialog, IDOK);
  });
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.rule.kind, edit.written.kind);
  EXPECT_EQ(run.rule.count, edit.written.count);
  EXPECT_EQ(FormatRuleDate(run.rule.date), FormatRuleDate(edit.written.date));
}

template <typename Case>
std::string CaseName(const testing::TestParamInfo<std::tuple<RulePlace, Case>>& info) {
  return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(Places, ShownRule, testing::Combine(testing::ValuesIn(kPlaces), testing::ValuesIn(kShown)),
                         CaseName<Shown>);
INSTANTIATE_TEST_SUITE_P(Places, EditedRule, testing::Combine(testing::ValuesIn(kPlaces), testing::ValuesIn(kEdits)),
                         CaseName<Edit>);

}  // namespace
