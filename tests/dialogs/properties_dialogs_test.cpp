// The properties dialogs as a user drives them, one run of each: the date rule controls of the
// folder dialog's include and exclude sides and of the file dialog, the folder dialog's mask
// lists and their input box, and what confirming and cancelling write.
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

// "id enabled|disabled[ checked]" for each of `ids`: what a failing case found.
std::string Found(HWND dialog, const std::vector<int>& ids) {
  std::string text;
  for (const int id : ids) {
    text += std::to_string(id) + (uitest::IsEnabled(dialog, id) ? " enabled" : " disabled");
    text += IsDlgButtonChecked(dialog, id) == BST_CHECKED ? " checked; " : "; ";
  }
  return text;
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

const RuleIds kInclude{243, 243, 244, 256, 257, 245, 247, 246, 248, 212, 211, 242};
const RuleIds kExclude{250, 250, 251, 258, 259, 252, 254, 253, 255, 214, 213, 249};
const RuleIds kFileRule{212, 211, 259, 260, 263, 261, 264, 262, 265, 213, 214, 266};
const Time32 kDay = LocalDate(2003, 3, 5), kLeapDay = LocalDate(2004, 2, 29);

// Of the rule's controls only these are enabled: none when it is off, else the radios and
// `extra` (the checked radio's count list or the picker) when there is one.
void ExpectRuleEnabled(HWND dialog, const RuleIds& ids, bool on, int RuleIds::*extra = nullptr) {
  std::vector<int> enabled = on ? ids.Radios() : std::vector<int>{};
  if (extra) enabled.push_back(ids.*extra);
  EXPECT_EQ(EnabledOf(dialog, ids.Governed()), enabled) << Found(dialog, ids.Governed());
}

// A rule of an unknown kind is on with no radio checked; "Backup Allways" turns it off and
// keeps its count and date.
TEST(FileDialog, AnUnknownRuleSwitchedOffKeepsCountAndDate) {
  CFileEntry entry{"C:\\Data\\a.txt", 9, 3, kDay};
  uitest::ModalDriver driver;
  driver.On("Backup File Properties", [](HWND dialog) {
    ExpectRuleEnabled(dialog, kFileRule, true);
    Click(dialog, kFileRule.off);
    ExpectRuleEnabled(dialog, kFileRule, false);
    Click(dialog, IDOK);
  });
  EXPECT_EQ(CFilePropertiesDialog(entry).Run(), 1);
  EXPECT_EQ(std::tie(entry.m_nRule, entry.m_nCount, entry.m_tmDate), std::make_tuple(RULE_NONE, 3, kDay));
}

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

// A user's session with the folder dialog. The include rule switched on to days takes the
// first count of its list; the stored exclude rule shows its picker and takes a new date. In
// the mask lists (their rules are the native tests') each refusal keeps the input box open with
// the text in normal form; cancelling a text the validator takes asks to save it (Cancel stays,
// Yes keeps it, No drops it), while cancelling one it refuses asks nothing. Clearing asks first;
// cancelling the dialog asks to save, as the input box does.
TEST(FolderDialog, RulesAndMasksEditedRefusedAndCancelledThenSaved) {
  CFolderEntry entry = FolderEntry("C:\\Data");
  std::tie(entry.m_nExcludeRule, entry.m_nExcludeCount, entry.m_tmExcludeDate) = std::make_tuple(RULE_BEFORE, 4, kDay);
  uitest::ModalDriver driver;
  driver.On(kFolderDialog, [](HWND dialog) {
        ExpectRuleEnabled(dialog, kInclude, false);
        ClickAll(dialog, {kInclude.on, kInclude.days});
        ExpectRuleEnabled(dialog, kInclude, true, &RuleIds::dayList);
        ExpectRuleEnabled(dialog, kExclude, true, &RuleIds::picker);
        uitest::SetPickerDate(dialog, kExclude.picker, {2004, 2, 0, 29, 0, 0, 0, 0});
        // Nothing but adding for the lone "*.*" (not even by a double click) or an empty list.
        EXPECT_EQ(EnabledOf(dialog, kIncludeButtons), std::vector<int>{225}) << Found(dialog, kIncludeButtons);
        EXPECT_EQ(EnabledOf(dialog, kExcludeButtons), std::vector<int>{229}) << Found(dialog, kExcludeButtons);
        uitest::DoubleClickListRow(dialog, kIncludeList, 0);
        Click(dialog, 225);  // "zq1" over the lone "*.*"
        EXPECT_EQ(uitest::ListColumn(dialog, kIncludeList, 1), std::vector<std::string>{"ZQ1 File"});
        EXPECT_EQ(uitest::SelectedListRows(dialog, kIncludeList), std::vector<int>{0});
        uitest::DoubleClickListRow(dialog, kIncludeList, 0);  // edited into "*.zq2"
        EXPECT_EQ(uitest::ListColumn(dialog, kIncludeList, 1), std::vector<std::string>{"ZQ2 File"});
        ClickAll(dialog, {229, 229, 229});  // "tmp", "*.ZQ2" (as in the other list), "old" dropped
        EXPECT_EQ(uitest::ListColumn(dialog, kExcludeList, 0), (std::vector<std::string>{"*.tmp", "*.ZQ2"}));
        uitest::SelectListRows(dialog, kExcludeList, {0, 1});  // no editing two rows
        EXPECT_EQ(EnabledOf(dialog, kExcludeButtons), (std::vector<int>{229, 231, 232}))
            << Found(dialog, kExcludeButtons);
        uitest::SelectListRows(dialog, kExcludeList, {0});
        Click(dialog, 230);  // "zq2" refused, then cancelled
        uitest::DoubleClickListRow(dialog, kExcludeList, 1);  // its own text in another case
        // Some rows deleted without a question, the include list's clearing asked about and cancelled.
        ClickAll(dialog, {231, 228, 235, IDCANCEL, IDCANCEL});
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
      .Answer("Confirmation", IDCANCEL)
      .Answer("Warning", IDCANCEL)
      .Answer("Warning", IDYES);
  EXPECT_EQ(CFolderPropertiesDialog(entry).Run(), 1);
  EXPECT_EQ(entry.m_strIncludeMasks, "*.zq2");
  EXPECT_EQ(entry.m_strExcludeMasks, "*.tmp");
  EXPECT_EQ(entry.m_bRecursive, 0);
  EXPECT_EQ(std::tie(entry.m_nIncludeRule, entry.m_nIncludeCount, entry.m_tmIncludeDate),
            std::make_tuple(RULE_LAST_DAYS, 2, Time32{0}));
  EXPECT_EQ(entry.m_tmExcludeDate, kLeapDay);
  const std::string include = "Input Box: Include mask", exclude = "Edit Box: Exclude mask";
  EXPECT_EQ(BoxesSeen(driver),
            (std::vector<std::string>{"Error | The value cannot be empty." + kError + include, kSaveBox + include,
                                      kSaveBox + include, kSaveBox + "Input Box: Exclude mask",
                                      "Error | Mask already exist." + kError + exclude, kClearBox + kFolderDialog,
                                      kSaveBox + kFolderDialog, kSaveBox + kFolderDialog}));
}

// Each rule kind chosen on either side of the folder dialog over a stored "last 3 weeks", and
// what confirming writes: the count of the item chosen, the picker's date.
TEST(FolderDialog, EveryRuleKindIsWrittenOnBothSides) {
  struct Side {
    const RuleIds* ids;
    int32_t CFolderEntry::*kind;
    int32_t CFolderEntry::*count;
    Time32 CFolderEntry::*date;
  };
  struct Kind {
    int RuleIds::*radio;
    int RuleIds::*list;  // or the picker
    int item;
    std::tuple<int32_t, int32_t, Time32> written;
  };
  const Side sides[] = {
      {&kInclude, &CFolderEntry::m_nIncludeRule, &CFolderEntry::m_nIncludeCount, &CFolderEntry::m_tmIncludeDate},
      {&kExclude, &CFolderEntry::m_nExcludeRule, &CFolderEntry::m_nExcludeCount, &CFolderEntry::m_tmExcludeDate}};
  const Kind kinds[] = {
      {&RuleIds::off, nullptr, 0, {RULE_NONE, 3, kDay}},
      {&RuleIds::today, nullptr, 0, {RULE_TODAY, 3, kDay}},
      {&RuleIds::days, &RuleIds::dayList, 3, {RULE_LAST_DAYS, 5, kDay}},
      {&RuleIds::weeks, &RuleIds::weekList, 0, {RULE_LAST_WEEKS, 1, kDay}},
      {&RuleIds::months, &RuleIds::monthList, 35, {RULE_LAST_MONTHS, 36, kDay}},
      {&RuleIds::after, &RuleIds::picker, 0, {RULE_AFTER, 3, kLeapDay}},
      {&RuleIds::before, &RuleIds::picker, 0, {RULE_BEFORE, 3, kLeapDay}},
  };
  for (const Side& side : sides) {
    for (const Kind& kind : kinds) {
      SCOPED_TRACE("side " + std::to_string(side.ids->on) + ", kind " + std::to_string(std::get<0>(kind.written)));
      CFolderEntry entry = FolderEntry("C:\\Data");
      entry.*side.kind = RULE_LAST_WEEKS;
      entry.*side.count = 3;
      entry.*side.date = kDay;
      uitest::ModalDriver driver;
      driver.On(kFolderDialog, [&](HWND dialog) {
        if (kind.radio != &RuleIds::weeks) Click(dialog, side.ids->*kind.radio);
        if (kind.list == &RuleIds::picker) {
          uitest::SetPickerDate(dialog, side.ids->picker, {2004, 2, 0, 29, 0, 0, 0, 0});
        } else if (kind.list) {
          uitest::ChooseComboItem(dialog, side.ids->*kind.list, kind.item);
        }
        Click(dialog, IDOK);
      });
      EXPECT_EQ(CFolderPropertiesDialog(entry).Run(), 1);
      EXPECT_EQ(std::make_tuple(entry.*side.kind, entry.*side.count, entry.*side.date), kind.written);
    }
  }
}

// Confirming any of the three dialogs untouched returns 2 and leaves the entry as it was, byte
// for byte; the stored rules and the rows' selection set what is enabled on the way. The two
// input box refusals the session above does not meet keep the text, and cancelling them asks
// nothing.
TEST(Dialogs, UntouchedOkWritesNothing) {
  CFolderEntry folder = FolderEntry("C:\\Data", "*.doc | *.txt", "*.tmp");
  std::tie(folder.m_nIncludeRule, folder.m_nIncludeCount) = std::make_tuple(RULE_LAST_WEEKS, 3);
  std::tie(folder.m_nExcludeRule, folder.m_nExcludeCount) = std::make_tuple(RULE_LAST_MONTHS, 2);
  CFileEntry file{"C:\\Data\\a.txt", RULE_TODAY, -1, 0};
  const std::string folderBefore = FormatFolderEntry(folder), fileBefore = FormatFileEntry(file);
  const auto refused = [](const std::string& text) {
    return [text](HWND box) {
      EXPECT_EQ(uitest::Text(box, kField), text);
      Click(box, IDCANCEL);
    };
  };
  uitest::ModalDriver driver;
  driver
      .On(kFolderDialog,
          [](HWND dialog) {
            ExpectRuleEnabled(dialog, kInclude, true, &RuleIds::weekList);
            ExpectRuleEnabled(dialog, kExclude, true, &RuleIds::monthList);
            // Loaded rows come selected; edit needs exactly one, delete and clear some rows.
            EXPECT_EQ(EnabledOf(dialog, kIncludeButtons), (std::vector<int>{225, 227, 228}))
                << Found(dialog, kIncludeButtons);
            EXPECT_EQ(EnabledOf(dialog, kExcludeButtons), kExcludeButtons) << Found(dialog, kExcludeButtons);
            uitest::SelectListRows(dialog, kIncludeList, {1});
            uitest::SelectListRows(dialog, kExcludeList, {});
            EXPECT_EQ(EnabledOf(dialog, kIncludeButtons), kIncludeButtons) << Found(dialog, kIncludeButtons);
            EXPECT_EQ(EnabledOf(dialog, kExcludeButtons), (std::vector<int>{229, 232}))
                << Found(dialog, kExcludeButtons);
            ClickAll(dialog, {226, 225, 229, IDOK});
          })
      .On("Edit Box: Include mask",
          [](HWND box) {
            EXPECT_EQ(uitest::Text(box, kField), "*.txt");
            Click(box, IDOK);
          })
      .On("Input Box: Include mask", Enter("*.*"))
      .Answer("Error", IDOK)
      .On("Input Box: Include mask", refused("*.*"))
      .On("Input Box: Exclude mask", Enter("*.a|b"))
      .Answer("Error", IDOK)
      .On("Input Box: Exclude mask", refused("*.a|b"))
      .On("Backup File Properties", [](HWND dialog) {
        ExpectRuleEnabled(dialog, kFileRule, true);
        Click(dialog, IDOK);
      });
  EXPECT_EQ(CFolderPropertiesDialog(folder).Run(), 2);
  EXPECT_EQ(FormatFolderEntry(folder), folderBefore);
  EXPECT_EQ(CFilePropertiesDialog(file).Run(), 2);
  EXPECT_EQ(FormatFileEntry(file), fileBefore);
  EXPECT_EQ(BoxesSeen(driver),
            (std::vector<std::string>{"Error | The mask *.* is not allowed." + kError + "Input Box: Include mask",
                                      "Error | Invalid mask." + kError + "Input Box: Exclude mask"}));
}

// Cancelling the changed dialog and answering No drops the changes.
TEST(FolderDialog, CancelAnsweredNoDropsTheChanges) {
  CFolderEntry entry = FolderEntry("C:\\Data");
  uitest::ModalDriver driver;
  driver.On(kFolderDialog, [](HWND dialog) { ClickAll(dialog, {235, IDCANCEL}); }).Answer("Warning", IDNO);
  EXPECT_EQ(CFolderPropertiesDialog(entry).Run(), 2);
  EXPECT_EQ(FormatFolderEntry(entry), FormatFolderEntry(FolderEntry("C:\\Data")));
  EXPECT_EQ(BoxesSeen(driver), std::vector<std::string>{kSaveBox + kFolderDialog});
}

}  // namespace
