#include "tests/support/win32/ui_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>

namespace uitest {

namespace {

// How long a step may wait for its window, and how long a window may stay open once the
// steps are used up, before the driver closes it.
constexpr DWORD kPatienceMs = 10000;
constexpr DWORD kGraceMs = 1500;
// The message box's text and icon controls, the same on Windows and Wine.
constexpr int kMessageBoxText = 0xFFFF;
constexpr int kMessageBoxIcon = 0x0440;

thread_local ModalDriver* t_pDriver = nullptr;

std::string Caption(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassOf(HWND window) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

struct Search {
  const std::string* caption;  // null: any window of `className`
  const char* className;
  HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
  if (search->caption ? Caption(window) != *search->caption : ClassOf(window) != search->className) return TRUE;
  search->found = window;
  return TRUE;  // the last one wins: the newest window is enumerated last
}

// The newest window of this thread with `caption`, or else of `className` (the test's own
// container windows are not dialogs).
HWND FindThreadWindow(const std::string* caption, const char* className = "#32770") {
  Search search{caption, className, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), &FindWindowOf, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string IconOf(HWND box) {
  const auto icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, kMessageBoxIcon, STM_GETICON, 0, 0));
  const std::pair<LPCSTR, const char*> kIcons[] = {
      {IDI_EXCLAMATION, "exclamation"},
      {IDI_QUESTION, "question"},
      {IDI_INFORMATION, "information"},
      {IDI_ERROR, "error"},
  };
  for (const auto& [id, name] : kIcons) {
    if (icon && icon == LoadIconA(nullptr, id)) return name;
  }
  return icon ? "other" : "none";
}

std::string ButtonsOf(HWND box) {
  const std::pair<int, const char*> kButtons[] = {
      {IDOK, "OK"}, {IDYES, "Yes"}, {IDNO, "No"}, {IDRETRY, "Retry"}, {IDCANCEL, "Cancel"},
  };
  std::string buttons;
  for (const auto& [id, name] : kButtons) {
    const HWND control = GetDlgItem(box, id);
    if (control && IsWindowVisible(control)) buttons += (buttons.empty() ? "" : " ") + std::string(name);
  }
  return buttons;
}

// Fails the test and answers null when the control cannot be used by a user.
HWND Usable(HWND dialog, int id, const char* action) {
  const HWND control = GetDlgItem(dialog, id);
  if (!control || !IsWindowVisible(control) || !IsWindowEnabled(control)) {
    ADD_FAILURE() << action << ": control " << id << " of \"" << Caption(dialog) << "\" is missing, hidden or disabled";
    return nullptr;
  }
  return control;
}

// Puts the cursor on the middle of `rect` (client coordinates of `control`).
void PutCursorAt(HWND control, RECT rect) {
  MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

void NotifyParent(HWND control, NMHDR& header) {
  header.hwndFrom = control;
  header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(control));
  SendMessageA(GetParent(control), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

// The cursor onto a list row, and the click's notification (NM_DBLCLK, NM_RCLICK) to the owner.
void ClickRow(HWND list, int row, UINT code) {
  RECT rect = {};
  rect.left = LVIR_LABEL;
  SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
  PutCursorAt(list, rect);
  NMITEMACTIVATE click = {};
  click.hdr.code = code;
  click.iItem = row;
  NotifyParent(list, click.hdr);
}

}  // namespace

ModalDriver::ModalDriver() : m_nLastProgress(GetTickCount()) {
  t_pDriver = this;
  m_nTimer = SetTimer(nullptr, 0, 20, &ModalDriver::OnTimer);
}

ModalDriver::~ModalDriver() {
  KillTimer(nullptr, m_nTimer);
  t_pDriver = nullptr;
  for (size_t i = m_nNext; i < m_vSteps.size(); ++i) ADD_FAILURE() << "never shown: \"" << m_vSteps[i].first << "\"";
}

ModalDriver& ModalDriver::On(const std::string& caption, std::function<void(HWND)> action) {
  m_vSteps.emplace_back(caption, std::move(action));
  return *this;
}

ModalDriver& ModalDriver::Answer(const std::string& caption, int button) {
  return On(caption, [this, button](HWND box) {
    m_vBoxes.push_back({Caption(box), Text(box, kMessageBoxText), ButtonsOf(box), IconOf(box),
                        Caption(GetWindow(box, GW_OWNER))});
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
  });
}

void CALLBACK ModalDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (t_pDriver) t_pDriver->Tick();
}

void ModalDriver::Tick() {
  const DWORD now = GetTickCount();
  if (m_nNext < m_vSteps.size()) {
    if (const HWND window = FindThreadWindow(&m_vSteps[m_nNext].first)) {
      // Taken off before it runs: the action may open a window whose loop runs the next steps.
      const std::function<void(HWND)> action = m_vSteps[m_nNext++].second;
      m_nLastProgress = now;
      action(window);
      return;
    }
    if (now - m_nLastProgress < kPatienceMs) return;
    ADD_FAILURE() << "never shown: \"" << m_vSteps[m_nNext].first << "\"";
    m_nNext = m_vSteps.size();
  }
  if (now - m_nLastProgress < kGraceMs) return;
  if (const HWND left = FindThreadWindow(nullptr)) {
    ADD_FAILURE() << "left open: \"" << Caption(left) << "\" saying \"" << Text(left, kMessageBoxText) << "\"";
    m_nLastProgress = now;
    EndDialog(left, IDCANCEL);
  }
}

std::string Text(HWND dialog, int id) { return Caption(GetDlgItem(dialog, id)); }

bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

void Click(HWND dialog, int id) {
  if (const HWND button = Usable(dialog, id, "click")) SendMessageA(button, BM_CLICK, 0, 0);
}

void Type(HWND dialog, int id, const std::string& text) {
  const HWND edit = Usable(dialog, id, "type");
  if (edit) SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ChooseComboItem(HWND dialog, int id, int index) {
  const HWND combo = Usable(dialog, id, "choose");
  if (!combo) return;
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void SetPickerDate(HWND dialog, int id, const SYSTEMTIME& date) {
  const HWND picker = Usable(dialog, id, "pick a date");
  if (!picker) return;
  NMDATETIMECHANGE change = {};
  change.st = date;
  SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&change.st));
  change.nmhdr.code = DTN_DATETIMECHANGE;
  change.dwFlags = GDT_VALID;
  NotifyParent(picker, change.nmhdr);
}

void SelectListRows(HWND dialog, int id, const std::vector<int>& rows) {
  const HWND list = Usable(dialog, id, "select rows");
  if (!list) return;
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (size_t i = 0; i < rows.size(); ++i) {
    ListView_SetItemState(list, rows[i], LVIS_SELECTED | (i == 0 ? LVIS_FOCUSED : 0), LVIS_SELECTED | LVIS_FOCUSED);
  }
}

void DoubleClickListRow(HWND dialog, int id, int row) {
  SelectListRows(dialog, id, {row});
  if (const HWND list = GetDlgItem(dialog, id)) ClickRow(list, row, NM_DBLCLK);
}

void RightClickListRow(HWND dialog, int id, int row) {
  const HWND list = Usable(dialog, id, "right-click a row");
  if (!list) return;
  if (!(ListView_GetItemState(list, row, LVIS_SELECTED) & LVIS_SELECTED)) SelectListRows(dialog, id, {row});
  ClickRow(list, row, NM_RCLICK);
}

void RightClickTreeItem(HWND dialog, int id, HTREEITEM item) {
  const HWND tree = Usable(dialog, id, "right-click an item");
  if (!tree) return;
  RECT rect;
  TreeView_GetItemRect(tree, item, &rect, TRUE);
  PutCursorAt(tree, rect);
  NMHDR click = {};
  click.code = NM_RCLICK;
  NotifyParent(tree, click);
}

namespace {

struct MenuChoice {
  UINT command;
  std::vector<std::string> items;
  DWORD shownAt = 0;
};
thread_local MenuChoice* t_pMenuChoice = nullptr;

void CALLBACK OnMenuTimer(HWND, UINT, UINT_PTR, DWORD) {
  MenuChoice* choice = t_pMenuChoice;
  const HWND window = FindThreadWindow(nullptr, "#32768");
  if (!choice || !window) return;
  if (choice->shownAt) {
    // The keys did not end it: close it rather than hang.
    if (GetTickCount() - choice->shownAt > kGraceMs) {
      ADD_FAILURE() << "the menu did not take command " << choice->command;
      EndMenu();
    }
    return;
  }
  choice->shownAt = GetTickCount();
  const auto menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
  int downs = 0, target = -1;
  for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i) {
    const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    const bool greyed = state & (MF_GRAYED | MF_DISABLED);
    choice->items.push_back(state & MF_SEPARATOR ? "-" : text + std::string(greyed ? " (greyed)" : ""));
    if (state & MF_SEPARATOR) continue;
    ++downs;
    if (GetMenuItemID(menu, i) == choice->command) target = downs;
  }
  if (target < 0) {
    EndMenu();
    return;
  }
  // The menu's loop takes keys from the thread's queue: down to the item, then Enter.
  for (int i = 0; i < target; ++i) PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
}

void SetLeftButton(bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_LBUTTON] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

void CALLBACK LetGoOfLeftButton(HWND, UINT, UINT_PTR, DWORD) { SetLeftButton(false); }

}  // namespace

void DragOnto(HWND target, const std::function<void()>& start) {
  RECT rect;
  GetWindowRect(target, &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  SetLeftButton(true);
  const UINT_PTR timer = SetTimer(nullptr, 0, 300, &LetGoOfLeftButton);
  start();
  KillTimer(nullptr, timer);
  SetLeftButton(false);
}

std::vector<std::string> ChooseFromMenu(const std::function<void()>& open, UINT command) {
  MenuChoice choice{command, {}};
  t_pMenuChoice = &choice;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, &OnMenuTimer);
  open();
  KillTimer(nullptr, timer);
  t_pMenuChoice = nullptr;
  return choice.items;
}

void ChooseTreePath(HWND dialog, int id, const std::string& path) {
  const HWND tree = Usable(dialog, id, "choose a folder");
  HTREEITEM item = tree ? TreeView_GetRoot(tree) : nullptr;
  for (size_t start = 0; item && start < path.size();) {
    const size_t end = std::min(path.find('\\', start), path.size());
    for (; item; item = TreeView_GetNextSibling(tree, item)) {
      char text[MAX_PATH] = {};
      TVITEMA query = {};
      query.mask = TVIF_TEXT;
      query.hItem = item;
      query.pszText = text;
      query.cchTextMax = sizeof text;
      TreeView_GetItem(tree, &query);
      if (lstrcmpiA(text, path.substr(start, end - start).c_str()) == 0) break;
    }
    start = end + 1;
    if (!item || start >= path.size()) break;
    TreeView_Expand(tree, item, TVE_EXPAND);
    item = TreeView_GetChild(tree, item);
  }
  if (item) TreeView_SelectItem(tree, item);
  if (tree && !item) ADD_FAILURE() << "the tree has no " << path;
}

std::vector<std::string> ListColumn(HWND dialog, int id, int column) {
  const HWND list = GetDlgItem(dialog, id);
  std::vector<std::string> texts;
  for (int row = 0, count = ListView_GetItemCount(list); row < count; ++row) {
    char text[512] = {};
    ListView_GetItemText(list, row, column, text, sizeof text);
    texts.emplace_back(text);
  }
  return texts;
}

std::vector<int> SelectedListRows(HWND dialog, int id) {
  const HWND list = GetDlgItem(dialog, id);
  std::vector<int> rows;
  for (int row = -1; (row = ListView_GetNextItem(list, row, LVNI_SELECTED)) >= 0;) rows.push_back(row);
  return rows;
}

std::string FileListBytes(const std::vector<std::string>& paths, bool wide) {
  DROPFILES header{};
  header.pFiles = sizeof header;
  header.fWide = wide;
  std::string names, bytes(reinterpret_cast<const char*>(&header), sizeof header);
  for (const std::string& path : paths) names += path + '\0';
  // The test's paths are ASCII: each character widened as it is.
  for (const char c : names + '\0') bytes += wide ? std::string{c, '\0'} : std::string(1, c);
  return bytes;
}

}  // namespace uitest
