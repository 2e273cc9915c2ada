#pragma once
// One date rule as the property dialogs show it: a switch that turns it on (the folder
// dialog's "By Modification Date" check box, the file dialog's "Backup If Modified" radio),
// six period radios, three count lists and a date picker.
#include <windows.h>

#include <cstdint>

#include "model/date_rule.h"

struct RuleRadio {
  int id;
  int32_t kind;
  int countList;  // 0: the radio has none
};

struct DateRuleIds {
  int switchId;
  RuleRadio radios[6];  // in the order confirming reads them
  int picker;
};

class CDateRuleControls {
 public:
  explicit CDateRuleControls(const DateRuleIds& ids) : m_ids(ids) {}

  // Binds to the dialog's controls and fills the count lists.
  void Attach(HWND dialog);
  // Checks the radio of `kind` and shows its count or date; other kinds check none.
  void Show(int32_t kind, int32_t count, Time32 date);
  int SwitchId() const { return m_ids.switchId; }
  bool IsRadio(int id) const;
  // A radio was clicked: a count radio whose list has no selection selects its first item.
  void Choose(int id);
  void CheckTodayIfNone();
  // Switch off: radios, lists and picker disabled. On: radios enabled, each list while its
  // radio is checked, the picker while "After" or "Before" is.
  void ApplyEnabling();
  // The first checked radio's kind, with the count of its list (-1 without a selection) or
  // the picker's moment; false, leaving all three alone, when no radio is checked.
  bool Read(int32_t& kind, int32_t& count, Time32& date) const;

 private:
  HWND Item(int id) const { return GetDlgItem(m_hDialog, id); }
  bool IsChecked(int id) const { return IsDlgButtonChecked(m_hDialog, id) == BST_CHECKED; }

  const DateRuleIds& m_ids;
  HWND m_hDialog = nullptr;
};
