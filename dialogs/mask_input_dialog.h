#pragma once
// "Input Box" / "Edit Box": one mask typed for, or edited in, the folder dialog's include or
// exclude list, accepted only in normal form and once the validator agrees.
#include <string>

#include "ui/window.h"

class CMaskValidator;

class CMaskInputDialog : public ui::CDialog {
 public:
  enum Mode { kAdd, kEdit };

  // `text` is the initial text (empty to add) and, after 1, the accepted mask.
  CMaskInputDialog(std::string& text, Mode mode, bool includeSide, const CMaskValidator& validator)
      : m_pText(&text), m_nMode(mode), m_bInclude(includeSide), m_pValidator(&validator) {}

  // Runs modally over the active window: 1 when a mask was accepted, 2 otherwise.
  int Run();

 protected:
  bool OnInitDialog() override;
  ui::MessageResult OnCommand(int id, int code, HWND control) override;

 private:
  void Confirm();
  void Cancel();

  std::string* m_pText;
  Mode m_nMode;
  bool m_bInclude;
  const CMaskValidator* m_pValidator;
  bool m_bChanged = false;
};
