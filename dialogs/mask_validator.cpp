#include "dialogs/mask_validator.h"

#include <commctrl.h>
#include <shellapi.h>

#include "dialogs/folder_properties_dialog.h"
#include "dialogs/mask_rules.h"
#include "platform/win32/unique_handles.h"
#include "registry/registry_store.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace {

// The shell's small icon for files of the extension. The shell is asked by the name alone
// (SHGFI_USEFILEATTRIBUTES), so nothing is created in, opened in or removed from "C:\": a
// file of that name that exists stays exactly as it was, and a user who may not write to
// the drive's root gets the same icon.
UniqueHicon ExtensionIcon(const std::string& extension) {
  char path[MAX_PATH] = {};
  lstrcpynA(path, ("C:\\dummyFile." + extension).c_str(), MAX_PATH);
  SHFILEINFOA info = {};
  if (SHGetFileInfoA(path, FILE_ATTRIBUTE_NORMAL, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES) &&
      info.hIcon)
    return UniqueHicon(info.hIcon);
  WORD index = 0;
  return UniqueHicon(ExtractAssociatedIconA(GetModuleHandleA(nullptr), path, &index));
}

// The image of a new or replaced row: the icon appended to the list's image list, or -1.
int RowImage(HWND list, const std::string& extension) {
  const UniqueHicon icon = ExtensionIcon(extension);
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  if (!icon || !images) return -1;
  return ImageList_AddIcon(images, icon.get());
}

}  // namespace

bool CMaskValidator::Validate(const std::string& mask, bool quiet, HWND owner) const {
  const char* reason = nullptr;
  if (mask == "*.*") {
    reason = "The mask *.* is not allowed.";
  } else if (!IsValidMask(mask)) {
    reason = "Invalid mask.";
  } else if (const HWND list = m_pDialog->ServedList();
             list && IsDuplicateMask(ui::ListColumnTexts(list), mask, m_pDialog->EditedRow())) {
    reason = "Mask already exist.";
  }
  if (!reason) return true;
  if (!quiet) ui::ShowMessageBox(owner, reason, "Error", MB_OK | MB_ICONEXCLAMATION);
  return false;
}

bool IsValidMask(const std::string& mask) {
  if (HasForbiddenMaskCharacter(mask)) return false;
  WIN32_FIND_DATAA found;
  const UniqueFindHandle search(FindFirstFileA(("C:\\" + mask).c_str(), &found));
  return search || GetLastError() == ERROR_FILE_NOT_FOUND;
}

void AddMaskRow(HWND list, const std::string& typed) {
  const std::string extension = MaskExtension(typed);
  const std::string mask = NormalMask(typed);
  if (IsDuplicateMask(ui::ListColumnTexts(list), mask, -1)) return;
  const int image = RowImage(list, extension);
  const std::string description = MaskDescription(CRegistryStore(), mask);
  if (ui::ListRowCount(list) == 1 && ui::ListItemText(list, 0) == "*.*") SendMessageA(list, LVM_DELETEITEM, 0, 0);
  const int row = ui::InsertListRow(list, mask, image);
  if (row < 0) return;
  ui::SetListItemText(list, row, 1, description);
  ui::SelectListRow(list, row, false);
}

void ReplaceMaskRow(HWND list, int editedRow, const std::string& typed) {
  const std::string extension = MaskExtension(typed);
  const std::string mask = NormalMask(typed);
  if (IsDuplicateMask(ui::ListColumnTexts(list), mask, editedRow)) return;
  const int image = RowImage(list, extension);
  const std::string description = MaskDescription(CRegistryStore(), mask);
  if (editedRow < 0) return;
  ui::SetListItemText(list, editedRow, 0, mask);
  ui::SetListItemText(list, editedRow, 1, description);
  ui::SetListRowImage(list, editedRow, image);
  ui::SelectListRow(list, editedRow, true);
}
