#pragma once
// Drives the module's real windows from a test, with the messages a user's actions send.
//
// Modal windows (dialogs, message boxes) are answered by a ModalDriver armed before the call
// that opens them: a thread timer fires inside the modal loop, finds the next expected window
// of this thread by caption and acts on it. Steps run in order; one that opens a nested modal
// window lets the following steps run inside that window's loop. Whatever is still open once
// the steps are used up (or when the next window does not come) is closed and reported, so a
// test fails instead of hanging.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace uitest {

// What a message box showed; `buttons` like "OK Cancel", `icon` one of "exclamation",
// "question", "information", "error" or "none"; `owner` the caption of its owner window.
struct MessageBoxSeen {
  std::string caption;
  std::string text;
  std::string buttons;
  std::string icon;
  std::string owner;
};

class ModalDriver {
 public:
  ModalDriver();
  ~ModalDriver();
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;

  // When an enabled window of this thread with `caption` shows, runs `action` on it.
  ModalDriver& On(const std::string& caption, std::function<void(HWND)> action);
  // Notes the next message box with `caption` and presses `button` (IDOK, IDYES, ...).
  ModalDriver& Answer(const std::string& caption, int button);

  const std::vector<MessageBoxSeen>& Boxes() const { return m_vBoxes; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  void Tick();

  UINT_PTR m_nTimer = 0;
  std::vector<std::pair<std::string, std::function<void(HWND)>>> m_vSteps;  // caption, action
  size_t m_nNext = 0;
  DWORD m_nLastProgress = 0;
  std::vector<MessageBoxSeen> m_vBoxes;
};

std::string Text(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);

// A user's actions. Each fails the running test (and does nothing) when the control is missing,
// hidden or disabled, since a user could not do it then.
void Click(HWND dialog, int id);
// WM_SETTEXT, which makes an edit control report EN_CHANGE itself.
void Type(HWND dialog, int id, const std::string& text);
// CB_SETCURSEL and the CBN_SELCHANGE the user's choice would send.
void ChooseComboItem(HWND dialog, int id, int index);
// DTM_SETSYSTEMTIME and the DTN_DATETIMECHANGE the user's change would send.
void SetPickerDate(HWND dialog, int id, const SYSTEMTIME& date);
// Selects exactly the given rows of a list view (LVM_SETITEMSTATE), focusing the first.
void SelectListRows(HWND dialog, int id, const std::vector<int>& rows);
// Selects a list view row, puts the cursor on it and sends the NM_DBLCLK notification.
void DoubleClickListRow(HWND dialog, int id, int row);
// Right-clicks a list view row as the list takes it: a row not selected becomes the only one
// selected; the cursor goes onto the row and NM_RCLICK reaches the owner.
void RightClickListRow(HWND dialog, int id, int row);
// Right-clicks a tree view item: the cursor goes onto its label and NM_RCLICK reaches the owner.
void RightClickTreeItem(HWND dialog, int id, HTREEITEM item);

// A real OLE drag in this thread: with the cursor over `target` and the left button held (as
// OLE's drag loop reads it), runs `start`, which begins the drag; a timer lets the button go
// 300 ms later, which drops onto `target`. Drops from another program are made so as well,
// with a data object of the test's own handed to DoDragDrop.
void DragOnto(HWND target, const std::function<void()>& start);

// Runs `open`, which shows a popup menu (TrackPopupMenu), and inside the menu's loop notes its
// items, "Text" or "Text (greyed)" and "-" for a separator, then chooses the item with
// `command` from the keyboard (0: closes the menu without a choice). The items, none when no
// menu showed.
std::vector<std::string> ChooseFromMenu(const std::function<void()>& open, UINT command);

// Opens a tree view down to `path` ("C:\\Data\\Sub\\"), item by item as a user does (each
// expansion notifies the owner), and selects its last item; a missing item fails the test.
void ChooseTreePath(HWND dialog, int id, const std::string& path);

// The texts of one list view column, row by row.
std::vector<std::string> ListColumn(HWND dialog, int id, int column);
// The rows selected in a list view.
std::vector<int> SelectedListRows(HWND dialog, int id);

// A CF_HDROP file list of `paths` as another program's drag makes it: the DROPFILES header,
// the names, an empty name to end.
std::string FileListBytes(const std::vector<std::string>& paths, bool wide = false);

}  // namespace uitest
