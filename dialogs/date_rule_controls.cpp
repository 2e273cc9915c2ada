#include "dialogs/date_rule_controls.h"

#include <climits>
#include <cstdlib>
#include <ctime>

#include "dialogs/mask_rules.h"
#include "platform/civil_days.h"
#include "platform/local_time.h"
#include "ui/controls.h"

namespace {

SYSTEMTIME ToSystemTime(Time32 date) {
  SYSTEMTIME time = {};
  std::tm tm{};
  const time_t value = date;
  if (localtime_s(&tm, &value) == 0) {
    time.wYear = static_cast<WORD>(tm.tm_year + 1900);
    time.wMonth = static_cast<WORD>(tm.tm_mon + 1);
    time.wDay = static_cast<WORD>(tm.tm_mday);
    time.wHour = static_cast<WORD>(tm.tm_hour);
    time.wMinute = static_cast<WORD>(tm.tm_min);
    time.wSecond = static_cast<WORD>(tm.tm_sec);
    return time;
  }
  // The runtime refuses times before 1970; the date is what counts.
  const platform::CivilDate day = platform::LocalDateOf(date);
  time.wYear = static_cast<WORD>(day.year);
  time.wMonth = static_cast<WORD>(day.month);
  time.wDay = static_cast<WORD>(day.day);
  return time;
}

Time32 FromSystemTime(const SYSTEMTIME& time) {
  std::tm tm{};
  tm.tm_year = time.wYear - 1900;
  tm.tm_mon = time.wMonth - 1;
  tm.tm_mday = time.wDay;
  tm.tm_hour = time.wHour;
  tm.tm_min = time.wMinute;
  tm.tm_sec = time.wSecond;
  tm.tm_isdst = -1;
  const time_t value = std::mktime(&tm);
  if (value != static_cast<time_t>(-1) && value >= INT32_MIN && value <= INT32_MAX) return static_cast<Time32>(value);
  // Beyond what the runtime or 32 bits hold: the day's midnight, or the nearest end of the
  // range, so "before" and "after" keep the side the user chose.
  Time32 midnight = 0;
  if (platform::LocalStandardMidnight({time.wYear, time.wMonth, time.wDay}, midnight)) return midnight;
  return platform::DaysFromCivil(time.wYear, time.wMonth, time.wDay) < 0 ? INT32_MIN : INT32_MAX;
}

}  // namespace

void CDateRuleControls::Attach(HWND dialog) {
  m_hDialog = dialog;
  for (const RuleRadio& radio : m_ids.radios) {
    if (radio.countList) ui::FillComboBox(Item(radio.countList), CountItems(radio.kind));
  }
}

void CDateRuleControls::Show(int32_t kind, int32_t count, Time32 date) {
  for (const RuleRadio& radio : m_ids.radios) {
    if (radio.kind != kind) continue;
    CheckDlgButton(m_hDialog, radio.id, BST_CHECKED);
    if (radio.countList) ui::SelectComboItem(Item(radio.countList), CountItemIndex(CountItems(kind), count));
    if (RuleUsesDate(kind)) ui::SetPickerTime(Item(m_ids.picker), ToSystemTime(date));
  }
}

bool CDateRuleControls::IsRadio(int id) const {
  for (const RuleRadio& radio : m_ids.radios) {
    if (radio.id == id) return true;
  }
  return false;
}

void CDateRuleControls::Choose(int id) {
  for (const RuleRadio& radio : m_ids.radios) {
    if (radio.id == id && radio.countList && ui::ComboSelection(Item(radio.countList)) < 0)
      ui::SelectComboItem(Item(radio.countList), 0);
  }
}

void CDateRuleControls::CheckTodayIfNone() {
  for (const RuleRadio& radio : m_ids.radios) {
    if (IsChecked(radio.id)) return;
  }
  for (const RuleRadio& radio : m_ids.radios) {
    if (radio.kind == RULE_TODAY) CheckDlgButton(m_hDialog, radio.id, BST_CHECKED);
  }
}

void CDateRuleControls::ApplyEnabling() {
  const bool on = IsChecked(m_ids.switchId);
  bool dateChecked = false;
  for (const RuleRadio& radio : m_ids.radios) {
    EnableWindow(Item(radio.id), on);
    if (radio.countList) EnableWindow(Item(radio.countList), on && IsChecked(radio.id));
    dateChecked = dateChecked || (RuleUsesDate(radio.kind) && IsChecked(radio.id));
  }
  EnableWindow(Item(m_ids.picker), on && dateChecked);
}

bool CDateRuleControls::Read(int32_t& kind, int32_t& count, Time32& date) const {
  for (const RuleRadio& radio : m_ids.radios) {
    if (!IsChecked(radio.id)) continue;
    kind = radio.kind;
    if (radio.countList) {
      const HWND list = Item(radio.countList);
      const int selected = ui::ComboSelection(list);
      count = selected < 0 ? -1 : std::atoi(ui::ComboItemText(list, selected).c_str());
    }
    if (RuleUsesDate(kind)) date = FromSystemTime(ui::PickerTime(Item(m_ids.picker)));
    return true;
  }
  return false;
}
