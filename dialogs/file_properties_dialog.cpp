#include "dialogs/file_properties_dialog.h"

#include <commctrl.h>

#include "dialog_ids.h"

namespace {

// "Backup If Modified" turns the period radios on; they form a group of their own, so the
// chosen period stays checked while "Backup Allways" is.
const DateRuleIds kRuleIds = {IDC_FILE_IF_MODIFIED,
                              {{IDC_FILE_TODAY, RULE_TODAY, 0},
                               {IDC_FILE_DAYS, RULE_LAST_DAYS, IDC_FILE_DAY_COUNT},
                               {IDC_FILE_WEEKS, RULE_LAST_WEEKS, IDC_FILE_WEEK_COUNT},
                               {IDC_FILE_MONTHS, RULE_LAST_MONTHS, IDC_FILE_MONTH_COUNT},
                               {IDC_FILE_BEFORE, RULE_BEFORE, 0},
                               {IDC_FILE_AFTER, RULE_AFTER, 0}},
                              IDC_FILE_DATE};

}  // namespace

CFilePropertiesDialog::CFilePropertiesDialog(CFileEntry& entry) : m_pEntry(&entry), m_rule(kRuleIds) {}

int CFilePropertiesDialog::Run() { return RunModal(IDD_FILE_PROPERTIES) == 1 ? 1 : 2; }

bool CFilePropertiesDialog::OnInitDialog() {
  ui::CenterOverOwner(hwnd(), GetWindow(hwnd(), GW_OWNER));
  SetItemText(IDC_PATH, m_pEntry->m_strPath);
  m_rule.Attach(hwnd());
  SetChecked(m_pEntry->m_nRule == RULE_NONE ? IDC_FILE_ALWAYS : IDC_FILE_IF_MODIFIED, true);
  m_rule.Show(m_pEntry->m_nRule, m_pEntry->m_nCount, m_pEntry->m_tmDate);
  m_bChanged = false;
  m_rule.ApplyEnabling();
  return true;
}

ui::MessageResult CFilePropertiesDialog::OnCommand(int id, int code, HWND control) {
  if (const ui::MessageResult common = CEntryDialog::OnCommand(id, code, control); common.handled) return common;
  if (!control || code != BN_CLICKED) return ui::NotHandled();
  if (id == IDC_FILE_IF_MODIFIED) {
    m_rule.CheckTodayIfNone();
  } else if (m_rule.IsRadio(id)) {
    m_rule.Choose(id);
  } else if (id != IDC_FILE_ALWAYS) {
    return ui::NotHandled();
  }
  m_bChanged = true;
  m_rule.ApplyEnabling();
  return ui::Handled();
}

ui::MessageResult CFilePropertiesDialog::OnNotify(const NMHDR& header) {
  if (header.code != DTN_DATETIMECHANGE || header.idFrom != IDC_FILE_DATE) return ui::NotHandled();
  m_bChanged = true;
  return ui::Handled();
}

void CFilePropertiesDialog::WriteBack() {
  // "Backup Allways" keeps the stored count and date for a later switch back.
  if (IsChecked(IDC_FILE_ALWAYS)) {
    m_pEntry->m_nRule = RULE_NONE;
  } else {
    m_rule.Read(m_pEntry->m_nRule, m_pEntry->m_nCount, m_pEntry->m_tmDate);
  }
}
