// The properties dialogs as a user drives them: the date rule controls of the folder dialog's
// include and exclude sides and of the file dialog, the folder dialog's mask lists and their
// input box, and what confirming and cancelling write.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "dialogs/file_properties_dialog.h"
#include "dialogs/folder_properties_dialog.h"
#include "model/entry_text.h"
#include "tests/support/entries.h"
#include "tests/support/time_zone.h"
#include "tests/support/win32/ui_driver.h"

namespace {

using uitest::Click;

const char kFolderDialog[] = "Backup Folder Properties";

// The ids among `ids` whose control is enabled.
std::vector<int> EnabledOf(HWND dialog, const std::vector<int>& ids) {
  std::vector<int> found;
  for (const int id : ids) {
    if (uitest::IsEnabled(dialog, id)) found.push_back(id);
  }
  return found;
}

// ---- Date rules -----------------------------------------------------------------------------

// One date rule's controls as the templates number them. `off` turns the rule off (the folder
// dialog's check box again, the file dialog's "Backup Allways").
struct RuleIds {
  int on, off, today, days, dayList, weeks, weekList, months, monthList, after, before, picker;
  std::vector<int> Radios() const { return {today, days, weeks, months, after, before}; }
  std::vector<int> Governed() const {
    return {today, days, weeks, months, after, before, dayList, weekList, monthList, picker};
  }
};

using Rule = std::tuple<int32_t, int32_t, Time32>;  // kind, count, date

// Runs the dialog on an entry holding `rule`, which is then the rule the entry holds.
template <int32_t CFolderEntry::*kKind, int32_t CFolderEntry::*kCount, Time32 CFolderEntry::*kDate>
int RunFolder(Rule& rule) {
  CFolderEntry entry = FolderEntry("C:\\Data");
  std::tie(entry.*kKind, entry.*kCount, entry.*kDate) = rule;
  const int result = CFolderPropertiesDialog(entry).Run();
  rule = std::tie(entry.*kKind, entry.*kCount, entry.*kDate);
  return result;
}

int RunFile(Rule& rule) {
  CFileEntry entry{"C:\\Data\\a.txt", std::get<0>(rule), std::get<1>(rule), std::get<2>(rule)};
  const int result = CFilePropertiesDialog(entry).Run();
  rule = std::tie(entry.m_nRule, entry.m_nCount, entry.m_tmDate);
  return result;
}

struct RulePlace {
  const char* name;
  const char* caption;
  RuleIds ids;
  int (*run)(Rule&);
};

const RulePlace kPlaces[] = {
    {"FolderInclude", kFolderDialog, {243, 243, 244, 256, 257, 245, 247, 246, 248, 212, 211, 242},
     &RunFolder<&CFolderEntry::m_nIncludeRule, &CFolderEntry::m_nIncludeCount, &CFolderEntry::m_tmIncludeDate>},
    {"FolderExclude", kFolderDialog, {250, 250, 251, 258, 259, 252, 254, 253, 255, 214, 213, 249},
     &RunFolder<&CFolderEntry::m_nExcludeRule, &CFolderEntry::m_nExcludeCount, &CFolderEntry::m_tmExcludeDate>},
    {"File", "Backup File Properties", {212, 211, 259, 260, 263, 261, 264, 262, 265, 213, 214, 266}, &RunFile},
};

// A user's change of a stored rule: the controls clicked, then the picker set to `date`
// (yyyymmdd) unless 0. Switching off and on again writes back what the rule showed; without a
// change, confirming is no change.
using R = RuleIds;
struct Edit {
  const char* name;
  Rule start;
  std::vector<int R::*> clicks;
  int date;
  int R::*extra;  // the list or picker enabled besides the radios, when the rule is on
  Rule written;
};

const Time32 kDay = LocalDate(2003, 3, 5), kLeapDay = LocalDate(2004, 2, 29);

const Edit kEdits[] = {
    {"Untouched", {RULE_LAST_DAYS, 5, 0}, {}, 0, &R::dayList, {RULE_LAST_DAYS, 5, 0}},
    {"AfterADate", {RULE_AFTER, 7, kDay}, {&R::off, &R::on}, 0, &R::picker, {RULE_AFTER, 7, kDay}},
    // No radio of an unknown kind is checked, so switching on checks "today".
    {"UnknownKindThenToday", {9, 3, 0}, {&R::off, &R::on}, 0, nullptr, {RULE_TODAY, 3, 0}},
    {"DaysTakeTheFirstItem", {RULE_NONE, -1, 0}, {&R::on, &R::days}, 0, &R::dayList, {RULE_LAST_DAYS, 2, 0}},
    {"ADateAloneIsAChange", {RULE_BEFORE, 4, kDay}, {}, 20040229, &R::picker, {RULE_BEFORE, 4, kLeapDay}},
    {"SwitchOffKeepsCountAndDate", {RULE_LAST_DAYS, 6, kDay}, {&R::off}, 0, nullptr, {RULE_NONE, 6, kDay}},
};

void PrintTo(const RulePlace& place, std::ostream* os) { *os << place.name; }
void PrintTo(const Edit& edit, std::ostream* os) { *os << edit.name; }

class DateRule : public testing::TestWithParam<std::tuple<RulePlace, Edit>> {};

// A step on a disabled control fails the test: the enabling rules are checked on the way.
TEST_P(DateRule, ShowsEnablesAndWritesBack) {
  const auto& [place, edit] = GetParam();
  uitest::ModalDriver driver;
  driver.On(place.caption, [&](HWND dialog) {
    const RuleIds& ids = place.ids;
    for (int R::*control : edit.clicks) Click(dialog, ids.*control);
    const int v = edit.date;
    if (v)
      uitest::SetPickerDate(dialog, ids.picker, {WORD(v / 10000), WORD(v / 100 % 100), 0, WORD(v % 100), 0, 0, 0, 0});
    std::vector<int> enabled = std::get<0>(edit.written) == RULE_NONE ? std::vector<int>{} : ids.Radios();
    if (edit.extra) enabled.push_back(ids.*edit.extra);
    EXPECT_EQ(EnabledOf(dialog, ids.Governed()), enabled);
    Click(dialog, IDOK);
  });
  Rule rule = edit.start;
  EXPECT_EQ(place.run(rule), edit.clicks.empty() && !edit.date ? 2 : 1);
  EXPECT_EQ(rule, edit.written);
}

INSTANTIATE_TEST_SUITE_P(Places, DateRule, testing::Combine(testing::ValuesIn(kPlaces), testing::ValuesIn(kEdits)),
                         [](const testing::TestParamInfo<std::tuple<RulePlace, Edit>>& info) {
                           return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
                         });

// ---- Mask lists ------------------------------------------------------------------------------

constexpr int kIncludeList = 233;
constexpr int kExcludeList = 234;
constexpr int kField = 257;  // the input box's text
const std::vector<int> kIncludeButtons{225, 226, 227, 228};  // add, edit, delete, clear
const std::vector<int> kExcludeButtons{229, 230, 231, 232};

const std::string kError = " | OK | exclamation | ";
const std::string kClearBox = "Confirmation | Are you sure you want to clear the list? | OK Cancel | question | ";
const std::string kSaveBox =
    "Warning | Data was changed.\nDo you want to save your changes? | Yes No Cancel | question | ";

// The message boxes a driver answered, one line each: "caption | text | buttons | icon | owner".
std::vector<std::string> BoxesSeen(const uitest::ModalDriver& driver) {
  std::vector<std::string> lines;
  for (const uitest::MessageBoxSeen& box : driver.Boxes())
    lines.push_back(box.caption + " | " + box.text + " | " + box.buttons + " | " + box.icon + " | " + box.owner);
  return lines;
}

void ClickAll(HWND window, std::vector<int> ids) {
  for (const int id : ids) Click(window, id);
}

// Types `text` into the input box and presses `button`.
std::function<void(HWND)> Enter(const std::string& text, int button = IDOK) {
  return [text, button](HWND box) {
    uitest::Type(box, kField, text);
    Click(box, button);
  };
}

// A user's session with both lists (the masks' rules are the native tests'). Each refusal
// keeps the input box open with the text in normal form; cancelling a text the validator takes
// asks to save it (Cancel stays, Yes keeps it, No drops it), while cancelling one it refuses
// asks nothing. Cancelling the dialog asks the same.
TEST(FolderMasks, AddEditDeleteRefuseAndCancelRewriteTheLists) {
  CFolderEntry entry = FolderEntry("C:\\Data");
  uitest::ModalDriver driver;
  driver.On(kFolderDialog, [](HWND dialog) {
        // Nothing but adding for the lone "*.*", not even by a double click.
        EXPECT_EQ(EnabledOf(dialog, kIncludeButtons), std::vector<int>{225});
        uitest::DoubleClickListRow(dialog, kIncludeList, 0);
        Click(dialog, 225);  // "zq1" over the lone "*.*"
        EXPECT_EQ(uitest::ListColumn(dialog, kIncludeList, 1), std::vector<std::string>{"ZQ1 File"});
        EXPECT_EQ(uitest::SelectedListRows(dialog, kIncludeList), std::vector<int>{0});
        uitest::DoubleClickListRow(dialog, kIncludeList, 0);  // edited into "*.zq2"
        EXPECT_EQ(uitest::ListColumn(dialog, kIncludeList, 1), std::vector<std::string>{"ZQ2 File"});
        ClickAll(dialog, {229, 229, 229});  // "tmp", "*.ZQ2" (as in the other list), "old" dropped
        EXPECT_EQ(uitest::ListColumn(dialog, kExcludeList, 0), (std::vector<std::string>{"*.tmp", "*.ZQ2"}));
        uitest::SelectListRows(dialog, kExcludeList, {0});
        Click(dialog, 230);  // "zq2" refused, then cancelled
        uitest::DoubleClickListRow(dialog, kExcludeList, 1);  // its own text in another case
        ClickAll(dialog, {231, 235, IDCANCEL, IDCANCEL});  // some rows: deleted without a question
      })
      .On("Input Box: Include mask",
          [&](HWND box) {
            Enter("")(box);
            Enter("zq1", IDCANCEL)(box);
            Click(box, IDCANCEL);
          })
      .Answer("Error", IDOK)
      .Answer("Warning", IDCANCEL)
      .Answer("Warning", IDYES)
      .On("Edit Box: Include mask", Enter("*.zq2"))
      .On("Input Box: Exclude mask", Enter("tmp"))
      .On("Input Box: Exclude mask", Enter("*.ZQ2"))
      .On("Input Box: Exclude mask", Enter("old", IDCANCEL))
      .Answer("Warning", IDNO)
      .On("Edit Box: Exclude mask",
          [](HWND box) {
            Enter("zq2")(box);
            EXPECT_EQ(uitest::Text(box, kField), "*.zq2");
            Click(box, IDCANCEL);
          })
      .Answer("Error", IDOK)
      .On("Edit Box: Exclude mask", Enter("*.zq2"))
      .Answer("Warning", IDCANCEL)
      .Answer("Warning", IDYES);
  EXPECT_EQ(CFolderPropertiesDialog(entry).Run(), 1);
  EXPECT_EQ(entry.m_strIncludeMasks, "*.zq2");
  EXPECT_EQ(entry.m_strExcludeMasks, "*.tmp");
  EXPECT_EQ(entry.m_bRecursive, 0);
  const std::string include = "Input Box: Include mask", exclude = "Edit Box: Exclude mask";
  EXPECT_EQ(BoxesSeen(driver),
            (std::vector<std::string>{"Error | The value cannot be empty." + kError + include, kSaveBox + include,
                                      kSaveBox + include, kSaveBox + "Input Box: Exclude mask",
                                      "Error | Mask already exist." + kError + exclude, kSaveBox + kFolderDialog,
                                      kSaveBox + kFolderDialog}));
}

// Rows are loaded selected, invalid masks and duplicates left out, "txt" in normal form. The
// buttons follow the rows and the selection (no edit with several rows selected). Clearing asks
// first; deleting every row is clearing, and the include list gets its "*.*" back. No to the
// question on cancelling discards it all.
TEST(FolderMasks, ButtonsFollowTheSelectionAndClearingAsksFirst) {
  CFolderEntry entry = FolderEntry("C:\\Data", "*.doc|a:b|*.DOC|txt", "*.tmp|*.bak");
  const std::string before = FormatFolderEntry(entry);
  uitest::ModalDriver driver;
  driver.On(kFolderDialog, [](HWND dialog) {
        EXPECT_EQ(uitest::ListColumn(dialog, kIncludeList, 0), (std::vector<std::string>{"*.doc", "*.txt"}));
        EXPECT_EQ(EnabledOf(dialog, kIncludeButtons), (std::vector<int>{225, 227, 228}));
        uitest::SelectListRows(dialog, kIncludeList, {1});
        EXPECT_EQ(EnabledOf(dialog, kIncludeButtons), kIncludeButtons);
        uitest::SelectListRows(dialog, kExcludeList, {});
        EXPECT_EQ(EnabledOf(dialog, kExcludeButtons), (std::vector<int>{229, 232}));
        ClickAll(dialog, {228, 232});
        uitest::SelectListRows(dialog, kIncludeList, {0, 1});
        Click(dialog, 227);
        EXPECT_EQ(uitest::ListColumn(dialog, kIncludeList, 0), std::vector<std::string>{"*.*"});
        EXPECT_EQ(uitest::ListColumn(dialog, kExcludeList, 0), std::vector<std::string>{});
        Click(dialog, IDCANCEL);
      })
      .Answer("Confirmation", IDCANCEL)
      .Answer("Confirmation", IDOK)
      .Answer("Confirmation", IDOK)
      .Answer("Warning", IDNO);
  EXPECT_EQ(CFolderPropertiesDialog(entry).Run(), 2);
  EXPECT_EQ(FormatFolderEntry(entry), before);
  const std::string clear = kClearBox + kFolderDialog;
  EXPECT_EQ(BoxesSeen(driver), (std::vector<std::string>{clear, clear, clear, kSaveBox + kFolderDialog}));
}

}  // namespace
