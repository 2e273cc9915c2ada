#pragma once
// "Backup File Properties": edits a single-file entry's one date rule in place, writing the
// entry only when the user confirms a change.
#include "dialogs/date_rule_controls.h"
#include "dialogs/entry_dialog.h"
#include "model/file_entry.h"

class CFilePropertiesDialog : public CEntryDialog {
 public:
  explicit CFilePropertiesDialog(CFileEntry& entry);

  // Runs modally over the active window: 1 when the entry was rewritten, 2 otherwise.
  int Run();

 protected:
  bool OnInitDialog() override;
  ui::MessageResult OnCommand(int id, int code, HWND control) override;
  ui::MessageResult OnNotify(const NMHDR& header) override;

 private:
  void WriteBack() override;

  CFileEntry* m_pEntry;
  CDateRuleControls m_rule;
};
