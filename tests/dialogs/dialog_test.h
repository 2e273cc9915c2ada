#pragma once
// What the dialogs' UI tests share: captions, the ids of a date rule's controls, and the
// state of a set of controls as a test compares it.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/win32/ui_driver.h"

inline const char kFolderDialog[] = "Backup Folder Properties";
inline const char kFileDialog[] = "Backup File Properties";

// One date rule's controls as the templates number them. `nOff` turns the rule off (the folder
// dialog's check box again, the file dialog's "Backup Allways").
struct RuleIds {
  int nSwitch, nOff, today, days, dayList, weeks, weekList, months, monthList, after, before, picker;
  std::vector<int> Radios() const { return {today, days, weeks, months, after, before}; }
  std::vector<int> Governed() const { return {today, days, weeks, months, after, before, dayList, weekList, monthList, picker}; }
};

inline const RuleIds kIncludeRule{243, 243, 244, 256, 257, 245, 247, 246, 248, 212, 211, 242};
inline const RuleIds kExcludeRule{250, 250, 251, 258, 259, 252, 254, 253, 255, 214, 213, 249};
inline const RuleIds kFileRule{212, 211, 259, 260, 263, 261, 264, 262, 265, 213, 214, 266};

inline std::vector<int> EnabledOf(HWND dialog, const std::vector<int>& ids) {
  std::vector<int> enabled;
  for (const int id : ids) {
    if (uitest::IsEnabled(dialog, id)) enabled.push_back(id);
  }
  return enabled;
}

inline std::vector<int> CheckedOf(HWND dialog, const std::vector<int>& ids) {
  std::vector<int> checked;
  for (const int id : ids) {
    if (uitest::IsChecked(dialog, id)) checked.push_back(id);
  }
  return checked;
}

inline SYSTEMTIME Day(int year, int month, int day) {
  SYSTEMTIME time = {};
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(day);
  return time;
}

// The selected item's text of a drop-down list, empty when none is selected.
inline std::string ComboText(HWND dialog, int id) {
  const LRESULT index = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
  if (index < 0) return {};
  char text[64] = {};
  SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return text;
}

