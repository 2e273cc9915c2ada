#pragma once
// What the dialogs' UI tests share: captions, the ids of a date rule's controls, and the
// state of a set of controls as a test compares it.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/win32/ui_driver.h"

inline const char kFolderDialog[] = "Backup Folder Properties";
inline const char kFileDialog[] = "Backup File Properties";

// One date rule's controls as the templates number them. `off` turns the rule off (the folder
// dialog's check box again, the file dialog's "Backup Allways").
struct RuleIds {
  int on, off, today, days, dayList, weeks, weekList, months, monthList, after, before, picker;
  std::vector<int> Radios() const { return {today, days, weeks, months, after, before}; }
  std::vector<int> Governed() const { return {today, days, weeks, months, after, before, dayList, weekList, monthList, picker}; }
};

inline const RuleIds kIncludeRule{243, 243, 244, 256, 257, 245, 247, 246, 248, 212, 211, 242};
inline const RuleIds kExcludeRule{250, 250, 251, 258, 259, 252, 254, 253, 255, 214, 213, 249};
inline const RuleIds kFileRule{212, 211, 259, 260, 263, 261, 264, 262, 265, 213, 214, 266};

// The message boxes a driver answered, one line each: "caption | text | buttons | icon | owner".
inline std::vector<std::string> BoxesSeen(const uitest::ModalDriver& driver) {
  std::vector<std::string> lines;
  for (const uitest::MessageBoxSeen& box : driver.Boxes())
    lines.push_back(box.caption + " | " + box.text + " | " + box.buttons + " | " + box.icon + " | " + box.owner);
  return lines;
}

// The ids among `ids` whose control is enabled, or checked.
inline std::vector<int> Which(HWND dialog, const std::vector<int>& ids, bool (*test)(HWND, int)) {
  std::vector<int> found;
  for (const int id : ids) {
    if (test(dialog, id)) found.push_back(id);
  }
  return found;
}
inline std::vector<int> EnabledOf(HWND dialog, const std::vector<int>& ids) { return Which(dialog, ids, uitest::IsEnabled); }
inline std::vector<int> CheckedOf(HWND dialog, const std::vector<int>& ids) { return Which(dialog, ids, uitest::IsChecked); }

inline SYSTEMTIME Day(int year, int month, int day) {
  SYSTEMTIME time = {};
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(day);
  return time;
}

