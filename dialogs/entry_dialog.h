#pragma once
// What the editing dialogs share: a changed flag, confirming (write back and end with 1, or
// end with 2 when nothing changed) and cancelling with the question to save.
#include <windows.h>

#include "ui/window.h"

// IDYES saves, IDNO discards, IDCANCEL stays in the dialog.
int AskToSaveChanges(HWND owner);

class CEntryDialog : public ui::CDialog {
 protected:
  // OK confirms, Cancel (Escape, the close box) cancels, a new selection in any drop-down list
  // is a change; everything else is left to the dialog.
  ui::MessageResult OnCommand(int id, int code, HWND control) override;
  void Confirm();
  void Cancel();
  // Writes the controls' state into the entry; called only when something changed.
  virtual void WriteBack() = 0;

  bool m_bChanged = false;
};
