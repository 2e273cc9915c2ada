#include "dialogs/entry_dialog.h"

int AskToSaveChanges(HWND owner) {
  return ui::ShowMessageBox(owner, "Data was changed.\nDo you want to save your changes?", "Warning",
                            MB_YESNOCANCEL | MB_ICONQUESTION);
}

ui::MessageResult CEntryDialog::OnCommand(int id, int code, HWND control) {
  if (id == IDOK) {
    Confirm();
  } else if (id == IDCANCEL) {
    Cancel();
  } else if (control && code == CBN_SELCHANGE) {
    m_bChanged = true;
  } else {
    return ui::NotHandled();
  }
  return ui::Handled();
}

void CEntryDialog::Confirm() {
  if (!m_bChanged) {
    End(2);
    return;
  }
  WriteBack();
  End(1);
}

void CEntryDialog::Cancel() {
  if (!m_bChanged) {
    End(2);
    return;
  }
  switch (AskToSaveChanges(hwnd())) {
    case IDYES:
      Confirm();
      break;
    case IDNO:
      End(2);
      break;
    default:
      break;
  }
}
