#include "dialogs/mask_input_dialog.h"

#include "dialog_ids.h"
#include "dialogs/mask_rules.h"
#include "dialogs/mask_validator.h"
#include "dialogs/entry_dialog.h"

int CMaskInputDialog::Run() { return RunModal(IDD_MASK_INPUT) == 1 ? 1 : 2; }

bool CMaskInputDialog::OnInitDialog() {
  ui::CenterOverOwner(hwnd(), GetWindow(hwnd(), GW_OWNER));
  std::string caption = ui::WindowText(hwnd());
  if (m_nMode == kEdit) {
    caption = "Edit Box";
    SetItemText(IDC_MASK_LABEL, "Edit mask");
  }
  caption += std::string(": ") + (m_bInclude ? "Include" : "Exclude") + " mask";
  SetWindowTextA(hwnd(), caption.c_str());
  SendDlgItemMessageA(hwnd(), IDC_MASK_TEXT, EM_LIMITTEXT, MAX_PATH, 0);
  if (!m_pText->empty()) SetItemText(IDC_MASK_TEXT, *m_pText);
  m_bChanged = false;
  return true;
}

ui::MessageResult CMaskInputDialog::OnCommand(int id, int code, HWND) {
  if (id == IDOK) {
    Confirm();
  } else if (id == IDCANCEL) {
    Cancel();
  } else if (id == IDC_MASK_TEXT && code == EN_CHANGE) {
    m_bChanged = true;
  } else {
    return ui::NotHandled();
  }
  return ui::Handled();
}

void CMaskInputDialog::Confirm() {
  std::string text = ItemText(IDC_MASK_TEXT);
  if (text.empty()) {
    ShowMessage("The value cannot be empty.", "Error", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (!m_bChanged) {
    End(2);
    return;
  }
  if (text != NormalMask(text)) {
    text = NormalMask(text);
    SetItemText(IDC_MASK_TEXT, text);
  }
  if (!m_pValidator->Validate(text, false, hwnd())) return;
  *m_pText = text;
  End(1);
}

void CMaskInputDialog::Cancel() {
  // Text the validator would refuse anyway is not worth a question.
  if (m_bChanged && m_pValidator->Validate(ItemText(IDC_MASK_TEXT), true, nullptr)) {
    switch (AskToSaveChanges(hwnd())) {
      case IDYES:
        Confirm();
        return;
      case IDCANCEL:
        return;
      default:
        break;
    }
  }
  End(2);
}
