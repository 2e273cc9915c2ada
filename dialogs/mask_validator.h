#pragma once
// One mask of the folder dialog's lists: whether the system takes it as a file-name pattern,
// why the user may not enter it, and how it becomes a row (mask, type description, icon).
#include <windows.h>

#include <string>

class CFolderPropertiesDialog;

// Accepts or refuses a mask the user typed, reading the list the folder dialog is serving
// and the row being edited there.
class CMaskValidator {
 public:
  explicit CMaskValidator(const CFolderPropertiesDialog& dialog) : m_pDialog(&dialog) {}
  virtual ~CMaskValidator() = default;
  CMaskValidator(const CMaskValidator&) = delete;
  CMaskValidator& operator=(const CMaskValidator&) = delete;

  // First failing step wins: "*.*", an invalid pattern, a duplicate in the served list. Unless
  // `quiet`, the reason is shown in an "Error" box owned by `owner`.
  virtual bool Validate(const std::string& mask, bool quiet, HWND owner) const;

 private:
  const CFolderPropertiesDialog* m_pDialog;
};

// The system's own check of the pattern: none of \ / : " < > |, and a search of "C:\" + mask
// that finds a file or fails only because none matches.
bool IsValidMask(const std::string& mask);

// Add-row: the mask in normal form, unless the list holds it already (any letter case); a
// lone "*.*" gives way to it. The new row is selected, the others keep their selection.
void AddMaskRow(HWND list, const std::string& mask);
// Replace-row: the edited row takes the mask unless another row holds it; it is selected
// and focused.
void ReplaceMaskRow(HWND list, int editedRow, const std::string& mask);
