#include "dialogs/folder_properties_dialog.h"

#include <commctrl.h>

#include "dialog_ids.h"
#include "dialogs/mask_input_dialog.h"
#include "dialogs/mask_rules.h"
#include "model/mask_list.h"
#include "platform/win32/this_module.h"
#include "ui/controls.h"

namespace {

const DateRuleIds kIncludeRuleIds = {IDC_INCLUDE_BY_DATE,
                                     {{IDC_INCLUDE_TODAY, RULE_TODAY, 0},
                                      {IDC_INCLUDE_DAYS, RULE_LAST_DAYS, IDC_INCLUDE_DAY_COUNT},
                                      {IDC_INCLUDE_WEEKS, RULE_LAST_WEEKS, IDC_INCLUDE_WEEK_COUNT},
                                      {IDC_INCLUDE_MONTHS, RULE_LAST_MONTHS, IDC_INCLUDE_MONTH_COUNT},
                                      {IDC_INCLUDE_AFTER, RULE_AFTER, 0},
                                      {IDC_INCLUDE_BEFORE, RULE_BEFORE, 0}},
                                     IDC_INCLUDE_DATE};
const DateRuleIds kExcludeRuleIds = {IDC_EXCLUDE_BY_DATE,
                                     {{IDC_EXCLUDE_TODAY, RULE_TODAY, 0},
                                      {IDC_EXCLUDE_DAYS, RULE_LAST_DAYS, IDC_EXCLUDE_DAY_COUNT},
                                      {IDC_EXCLUDE_WEEKS, RULE_LAST_WEEKS, IDC_EXCLUDE_WEEK_COUNT},
                                      {IDC_EXCLUDE_MONTHS, RULE_LAST_MONTHS, IDC_EXCLUDE_MONTH_COUNT},
                                      {IDC_EXCLUDE_AFTER, RULE_AFTER, 0},
                                      {IDC_EXCLUDE_BEFORE, RULE_BEFORE, 0}},
                                     IDC_EXCLUDE_DATE};

}  // namespace

const CFolderPropertiesDialog::MaskSide CFolderPropertiesDialog::kIncludeSide = {
    IDC_INCLUDE_LIST, IDC_INCLUDE_ADD, IDC_INCLUDE_EDIT, IDC_INCLUDE_DELETE, IDC_INCLUDE_CLEAR, true};
const CFolderPropertiesDialog::MaskSide CFolderPropertiesDialog::kExcludeSide = {
    IDC_EXCLUDE_LIST, IDC_EXCLUDE_ADD, IDC_EXCLUDE_EDIT, IDC_EXCLUDE_DELETE, IDC_EXCLUDE_CLEAR, false};

CFolderPropertiesDialog::CFolderPropertiesDialog(CFolderEntry& entry)
    : m_pEntry(&entry), m_validator(*this), m_includeRule(kIncludeRuleIds), m_excludeRule(kExcludeRuleIds) {}

int CFolderPropertiesDialog::Run() { return RunModal(IDD_FOLDER_PROPERTIES) == 1 ? 1 : 2; }

const CFolderPropertiesDialog::MaskSide* CFolderPropertiesDialog::SideOf(int id) const {
  for (const MaskSide* side : {&kIncludeSide, &kExcludeSide}) {
    if (id == side->list || id == side->add || id == side->edit || id == side->remove || id == side->clear)
      return side;
  }
  return nullptr;
}

bool CFolderPropertiesDialog::OnInitDialog() {
  ui::CenterOverOwner(hwnd(), GetWindow(hwnd(), GW_OWNER));

  // Both sides' buttons show the same four icons, in the order add, edit, delete, clear.
  for (const int icon : {IDI_MASK_ADD, IDI_MASK_EDIT, IDI_MASK_DELETE, IDI_MASK_CLEAR}) {
    m_icons.emplace_back(static_cast<HICON>(LoadImageA(ThisModule(), MAKEINTRESOURCEA(icon), IMAGE_ICON, 16, 16, 0)));
  }
  for (const MaskSide* side : {&kIncludeSide, &kExcludeSide}) {
    const int buttons[] = {side->add, side->edit, side->remove, side->clear};
    for (size_t i = 0; i < m_icons.size(); ++i)
      SendDlgItemMessageA(hwnd(), buttons[i], BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(m_icons[i].get()));
  }
  m_hImageList.reset(ImageList_Create(16, 16, ILC_COLOR16, 0, 1));
  ImageList_SetBkColor(m_hImageList.get(), GetSysColor(COLOR_WINDOW));
  SetUpList(Item(IDC_INCLUDE_LIST));
  SetUpList(Item(IDC_EXCLUDE_LIST));

  m_includeRule.Attach(hwnd());
  m_excludeRule.Attach(hwnd());

  SetItemText(IDC_PATH, m_pEntry->m_strPath);
  SetChecked(IDC_FOLDER_RECURSIVE, m_pEntry->m_bRecursive != 0);

  LoadMasks(Item(IDC_INCLUDE_LIST), m_pEntry->m_strIncludeMasks);
  SetChecked(IDC_INCLUDE_BY_DATE, m_pEntry->m_nIncludeRule != RULE_NONE);
  m_includeRule.Show(m_pEntry->m_nIncludeRule, m_pEntry->m_nIncludeCount, m_pEntry->m_tmIncludeDate);
  LoadMasks(Item(IDC_EXCLUDE_LIST), m_pEntry->m_strExcludeMasks);
  SetChecked(IDC_EXCLUDE_BY_DATE, m_pEntry->m_nExcludeRule != RULE_NONE);
  m_excludeRule.Show(m_pEntry->m_nExcludeRule, m_pEntry->m_nExcludeCount, m_pEntry->m_tmExcludeDate);

  m_includeRule.ApplyEnabling();
  m_excludeRule.ApplyEnabling();
  UpdateButtons(kIncludeSide);
  UpdateButtons(kExcludeSide);
  m_bChanged = false;
  return true;
}

void CFolderPropertiesDialog::SetUpList(HWND list) {
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  RECT outer = {};
  GetWindowRect(list, &outer);
  const int width = outer.right - outer.left;
  ui::AddListColumn(list, 0, "Type", width / 4);
  ui::AddListColumn(list, 1, "Description", width - width / 4 - 4);
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_hImageList.get()));
}

void CFolderPropertiesDialog::LoadMasks(HWND list, const std::string& text) {
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  std::vector<std::string> masks;
  SplitMasks(text, masks);
  for (const std::string& mask : masks) {
    if (IsValidMask(mask)) AddMaskRow(list, mask);
  }
}

void CFolderPropertiesDialog::UpdateButtons(const MaskSide& side) {
  const HWND list = Item(side.list);
  const int rows = ui::ListRowCount(list);
  const int selected = ui::ListSelectedCount(list);
  // A lone "*.*" in the include list is the default that clearing puts back: nothing to edit,
  // delete or clear.
  const bool loneAll = side.include && rows == 1 && ui::ListItemText(list, 0) == "*.*";
  EnableItem(side.add, true);
  EnableItem(side.edit, !loneAll && selected == 1);
  EnableItem(side.remove, !loneAll && selected >= 1);
  EnableItem(side.clear, !loneAll && rows >= 1);
}

ui::MessageResult CFolderPropertiesDialog::OnCommand(int id, int code, HWND control) {
  if (const ui::MessageResult common = CEntryDialog::OnCommand(id, code, control); common.handled) return common;
  if (!control || code != BN_CLICKED) return ui::NotHandled();
  if (id == IDC_FOLDER_RECURSIVE) {
    m_bChanged = true;
  } else if (id == IDC_INCLUDE_BY_DATE || id == IDC_EXCLUDE_BY_DATE) {
    CDateRuleControls& rule = id == IDC_INCLUDE_BY_DATE ? m_includeRule : m_excludeRule;
    rule.CheckTodayIfNone();
    rule.ApplyEnabling();
    m_bChanged = true;
  } else if (m_includeRule.IsRadio(id) || m_excludeRule.IsRadio(id)) {
    CDateRuleControls& rule = m_includeRule.IsRadio(id) ? m_includeRule : m_excludeRule;
    rule.Choose(id);
    rule.ApplyEnabling();
    m_bChanged = true;
  } else if (const MaskSide* side = SideOf(id)) {
    if (id == side->add) AddMask(*side);
    if (id == side->edit) EditMask(*side);
    if (id == side->remove) DeleteMasks(*side);
    if (id == side->clear) ClearMasks(*side);
  } else {
    return ui::NotHandled();
  }
  return ui::Handled();
}

ui::MessageResult CFolderPropertiesDialog::OnNotify(const NMHDR& header) {
  const int id = static_cast<int>(header.idFrom);
  if (header.code == DTN_DATETIMECHANGE && (id == IDC_INCLUDE_DATE || id == IDC_EXCLUDE_DATE)) {
    m_bChanged = true;
    return ui::Handled();
  }
  const MaskSide* side = SideOf(id);
  if (!side || id != side->list) return ui::NotHandled();
  if (header.code == LVN_ITEMCHANGED) {
    UpdateButtons(*side);
    return ui::Handled();
  }
  // A double click edits only what the edit button could.
  if (header.code == NM_DBLCLK) {
    if (IsWindowEnabled(Item(side->edit))) EditMask(*side);
    return ui::Handled();
  }
  return ui::NotHandled();
}

void CFolderPropertiesDialog::AddMask(const MaskSide& side) {
  m_hServedList = Item(side.list);
  m_nEditedRow = -1;
  std::string mask;
  if (CMaskInputDialog(mask, CMaskInputDialog::kAdd, side.include, m_validator).Run() == 1) {
    AddMaskRow(m_hServedList, mask);
    UpdateButtons(side);
    m_bChanged = true;
  }
  m_hServedList = nullptr;
}

void CFolderPropertiesDialog::EditMask(const MaskSide& side) {
  const HWND list = Item(side.list);
  const int row = ui::ListNextSelected(list);
  if (row < 0) return;
  m_hServedList = list;
  m_nEditedRow = row;
  std::string mask = ui::ListItemText(list, row);
  if (CMaskInputDialog(mask, CMaskInputDialog::kEdit, side.include, m_validator).Run() == 1) {
    ReplaceMaskRow(list, row, mask);
    UpdateButtons(side);
    m_bChanged = true;
  }
  m_hServedList = nullptr;
  m_nEditedRow = -1;
}

void CFolderPropertiesDialog::DeleteMasks(const MaskSide& side) {
  const HWND list = Item(side.list);
  const int selected = ui::ListSelectedCount(list);
  if (selected == 0) return;
  if (selected == ui::ListRowCount(list)) {
    ClearMasks(side);
    return;
  }
  for (int row = ui::ListNextSelected(list); row >= 0; row = ui::ListNextSelected(list)) {
    if (!SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0)) break;
  }
  m_bChanged = true;
  UpdateButtons(side);
}

void CFolderPropertiesDialog::ClearMasks(const MaskSide& side) {
  if (ShowMessage("Are you sure you want to clear the list?", "Confirmation", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    return;
  const HWND list = Item(side.list);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  if (side.include) AddMaskRow(list, "*.*");
  m_bChanged = true;
  UpdateButtons(side);
}

void CFolderPropertiesDialog::WriteBack() {
  m_pEntry->m_bRecursive = IsChecked(IDC_FOLDER_RECURSIVE) ? 1 : 0;
  m_pEntry->m_strIncludeMasks = JoinMasks(ui::ListColumnTexts(Item(IDC_INCLUDE_LIST)));
  m_pEntry->m_strExcludeMasks = JoinMasks(ui::ListColumnTexts(Item(IDC_EXCLUDE_LIST)));
  WriteRule(m_includeRule, m_pEntry->m_nIncludeRule, m_pEntry->m_nIncludeCount, m_pEntry->m_tmIncludeDate);
  WriteRule(m_excludeRule, m_pEntry->m_nExcludeRule, m_pEntry->m_nExcludeCount, m_pEntry->m_tmExcludeDate);
}

void CFolderPropertiesDialog::WriteRule(const CDateRuleControls& rule, int32_t& kind, int32_t& count,
                                        Time32& date) const {
  // Without the switch the rule is off; its count and date stay for a later switch back on.
  if (!IsChecked(rule.SwitchId())) {
    kind = RULE_NONE;
    return;
  }
  rule.Read(kind, count, date);
}
