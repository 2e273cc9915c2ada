#pragma once
// "Backup Folder Properties": edits one folder entry's recursion, include and exclude masks
// and both date rules in place, writing the entry only when the user confirms a change.
#include <windows.h>

#include <vector>

#include "dialogs/date_rule_controls.h"
#include "dialogs/entry_dialog.h"
#include "dialogs/mask_validator.h"
#include "model/folder_entry.h"
#include "platform/win32/unique_handles.h"

class CFolderPropertiesDialog : public CEntryDialog {
 public:
  explicit CFolderPropertiesDialog(CFolderEntry& entry);

  // Runs modally over the active window: 1 when the entry was rewritten, 2 otherwise.
  int Run();

  // While the mask input dialog runs: the list it serves (null otherwise) and the row being
  // edited there (-1: none). The validator reads both.
  HWND ServedList() const { return m_hServedList; }
  int EditedRow() const { return m_nEditedRow; }

 protected:
  bool OnInitDialog() override;
  ui::MessageResult OnCommand(int id, int code, HWND control) override;
  ui::MessageResult OnNotify(const NMHDR& header) override;

 private:
  // One mask list with its four buttons.
  struct MaskSide {
    int list, add, edit, remove, clear;
    bool include;
  };
  static const MaskSide kIncludeSide;
  static const MaskSide kExcludeSide;
  const MaskSide* SideOf(int id) const;

  void SetUpList(HWND list);
  void LoadMasks(HWND list, const std::string& text);
  void UpdateButtons(const MaskSide& side);
  void AddMask(const MaskSide& side);
  void EditMask(const MaskSide& side);
  void DeleteMasks(const MaskSide& side);
  void ClearMasks(const MaskSide& side);
  void WriteBack() override;
  void WriteRule(const CDateRuleControls& rule, int32_t& kind, int32_t& count, Time32& date) const;

  CFolderEntry* m_pEntry;
  HWND m_hServedList = nullptr;
  int m_nEditedRow = -1;
  CMaskValidator m_validator;
  CDateRuleControls m_includeRule;
  CDateRuleControls m_excludeRule;
  UniqueHimagelist m_hImageList;
  std::vector<UniqueHicon> m_icons;
};
