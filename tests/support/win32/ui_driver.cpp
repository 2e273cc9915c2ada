#include "tests/support/win32/ui_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>

#include <algorithm>
#include <sstream>

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
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool IsMessageBox(HWND window) { return GetDlgItem(window, kMessageBoxText) != nullptr; }

struct Search {
  const std::string* caption;
  HWND found;
};

BOOL CALLBACK FindCaption(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
  if (search->caption && Caption(window) != *search->caption) return TRUE;
  // Only dialogs and message boxes: the test's own container windows are not modal.
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (!search->caption && std::string(className) != "#32770") return TRUE;
  search->found = window;
  return TRUE;  // the last one wins: the newest window is enumerated last
}

HWND FindModal(const std::string* caption) {
  Search search{caption, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), &FindCaption, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string IconOf(HWND box) {
  const auto icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, kMessageBoxIcon, STM_GETICON, 0, 0));
  if (!icon) return "none";
  if (icon == LoadIcon(nullptr, IDI_EXCLAMATION)) return "exclamation";
  if (icon == LoadIcon(nullptr, IDI_QUESTION)) return "question";
  if (icon == LoadIcon(nullptr, IDI_INFORMATION)) return "information";
  if (icon == LoadIcon(nullptr, IDI_ERROR)) return "error";
  return "other";
}

std::string ButtonsOf(HWND box) {
  static const struct {
    int id;
    const char* name;
  } kButtons[] = {{IDOK, "OK"}, {IDYES, "Yes"}, {IDNO, "No"}, {IDRETRY, "Retry"}, {IDCANCEL, "Cancel"}};
  std::string buttons;
  for (const auto& button : kButtons) {
    const HWND control = GetDlgItem(box, button.id);
    if (!control || !IsWindowVisible(control)) continue;
    if (!buttons.empty()) buttons += ' ';
    buttons += button.name;
  }
  return buttons;
}

// Fails the test and answers null when the control cannot be used by a user.
HWND Usable(HWND dialog, int id, const char* action) {
  const HWND control = GetDlgItem(dialog, id);
  if (!control) {
    ADD_FAILURE() << action << ": no control " << id << " in \"" << Caption(dialog) << "\"";
    return nullptr;
  }
  if (!IsWindowVisible(control) || !IsWindowEnabled(control)) {
    ADD_FAILURE() << action << ": control " << id << " of \"" << Caption(dialog) << "\" is "
                  << (IsWindowVisible(control) ? "disabled" : "hidden");
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
  for (size_t i = m_nNext; i < m_vSteps.size(); ++i) ADD_FAILURE() << "never shown: \"" << m_vSteps[i].caption << "\"";
  for (const std::string& problem : m_vProblems) ADD_FAILURE() << problem;
}

ModalDriver& ModalDriver::On(const std::string& caption, std::function<void(HWND)> action) {
  m_vSteps.push_back({caption, std::move(action)});
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
    const std::string& caption = m_vSteps[m_nNext].caption;
    if (const HWND window = FindModal(&caption)) {
      // Taken off before it runs: the action may open a window whose loop runs the next steps.
      const std::function<void(HWND)> action = m_vSteps[m_nNext++].action;
      m_nLastProgress = now;
      action(window);
      return;
    }
    if (now - m_nLastProgress < kPatienceMs) return;
    m_vProblems.push_back("never shown: \"" + caption + "\"");
    m_nNext = m_vSteps.size();
  }
  if (now - m_nLastProgress < kGraceMs) return;
  if (const HWND left = FindModal(nullptr)) {
    m_vProblems.push_back("left open: \"" + Caption(left) + "\"" +
                          (IsMessageBox(left) ? " saying \"" + Text(left, kMessageBoxText) + "\"" : ""));
    m_nLastProgress = now;
    EndDialog(left, IDCANCEL);
  }
}

HWND FindThreadWindow(const std::string& caption) { return FindModal(&caption); }

std::string Text(HWND dialog, int id) {
  const HWND control = GetDlgItem(dialog, id);
  if (!control) return {};
  std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

std::string DescribeControls(HWND dialog, const std::vector<int>& ids) {
  std::ostringstream out;
  for (const int id : ids) {
    const HWND control = GetDlgItem(dialog, id);
    out << id << ": ";
    if (!control) {
      out << "missing\n";
      continue;
    }
    out << (IsWindowEnabled(control) ? "enabled" : "disabled") << (IsWindowVisible(control) ? "" : ", hidden")
        << (IsChecked(dialog, id) ? ", checked" : "") << "\n";
  }
  return out.str();
}

void Click(HWND dialog, int id) {
  if (const HWND button = Usable(dialog, id, "click")) SendMessageA(button, BM_CLICK, 0, 0);
}

void Type(HWND dialog, int id, const std::string& text) {
  if (const HWND edit = Usable(dialog, id, "type")) SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
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
  SYSTEMTIME value = date;
  SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
  NMDATETIMECHANGE change = {};
  change.nmhdr.code = DTN_DATETIMECHANGE;
  change.dwFlags = GDT_VALID;
  change.st = value;
  NotifyParent(picker, change.nmhdr);
}

void SelectListRows(HWND dialog, int id, const std::vector<int>& rows) {
  const HWND list = Usable(dialog, id, "select rows");
  if (!list) return;
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  bool first = true;
  for (const int row : rows) {
    item.state = LVIS_SELECTED | (first ? LVIS_FOCUSED : 0);
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    first = false;
  }
}

void DoubleClickListRow(HWND dialog, int id, int row) {
  SelectListRows(dialog, id, {row});
  const HWND list = GetDlgItem(dialog, id);
  if (!list) return;
  ClickRow(list, row, NM_DBLCLK);
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
  if (item) {
    TreeView_GetItemRect(tree, item, &rect, TRUE);
  } else {
    GetClientRect(tree, &rect);
    rect.top = rect.bottom - 4;
  }
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

BOOL CALLBACK FindPopupMenu(HWND window, LPARAM found) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::string(className) != "#32768" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

void CALLBACK OnMenuTimer(HWND, UINT, UINT_PTR, DWORD) {
  MenuChoice* choice = t_pMenuChoice;
  HWND window = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindPopupMenu, reinterpret_cast<LPARAM>(&window));
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
    if (state & MF_SEPARATOR) {
      choice->items.emplace_back("-");
      continue;
    }
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    choice->items.push_back(std::string(text) + (state & (MF_GRAYED | MF_DISABLED) ? " (greyed)" : ""));
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
  if (!tree) return;
  HTREEITEM item = TreeView_GetRoot(tree);
  for (size_t start = 0; start < path.size();) {
    const size_t end = std::min(path.find('\\', start), path.size());
    const std::string name = path.substr(start, end - start);
    std::string seen;
    for (; item; item = TreeView_GetNextSibling(tree, item)) {
      char text[MAX_PATH] = {};
      TVITEMA query = {};
      query.mask = TVIF_TEXT;
      query.hItem = item;
      query.pszText = text;
      query.cchTextMax = sizeof text;
      TreeView_GetItem(tree, &query);
      if (lstrcmpiA(text, name.c_str()) == 0) break;
      seen += std::string(" \"") + text + "\"";
    }
    if (!item) {
      ADD_FAILURE() << "no \"" << name << "\" in the tree on the way to " << path << "; found" << seen;
      return;
    }
    start = end + 1;
    if (start >= path.size()) break;
    TreeView_Expand(tree, item, TVE_EXPAND);
    item = TreeView_GetChild(tree, item);
  }
  TreeView_SelectItem(tree, item);
}

std::vector<std::string> ListColumn(HWND dialog, int id, int column) {
  const HWND list = GetDlgItem(dialog, id);
  std::vector<std::string> texts;
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    char text[512] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    texts.emplace_back(text);
  }
  return texts;
}

std::vector<int> SelectedListRows(HWND dialog, int id) {
  const HWND list = GetDlgItem(dialog, id);
  std::vector<int> rows;
  int row = -1;
  while ((row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0)
    rows.push_back(row);
  return rows;
}

std::string FileListBytes(const std::vector<std::string>& paths, bool wide) {
  DROPFILES header{};
  header.pFiles = sizeof header;
  header.fWide = wide;
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
  for (const std::string& path : paths) {
    if (!wide) {
      bytes += path + '\0';
      continue;
    }
    std::wstring name(path.size(), L'\0');
    name.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), name.data(),
                                                        static_cast<int>(name.size()))));
    bytes.append(reinterpret_cast<const char*>(name.c_str()), (name.size() + 1) * sizeof(wchar_t));
  }
  return bytes.append(wide ? 2 : 1, '\0');
}

DWORD DropOn(HWND window, IDataObject* data) {
  auto* target = static_cast<IDropTarget*>(GetPropA(window, "OleDropTargetInterface"));
  RECT rect;
  GetWindowRect(window, &rect);
  const POINTL point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  const DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  DWORD effect = allowed;
  if (!target || FAILED(target->DragEnter(data, MK_LBUTTON, point, &effect))) return DROPEFFECT_NONE;
  effect = allowed;
  target->DragOver(MK_LBUTTON, point, &effect);
  if (effect == DROPEFFECT_NONE) {
    target->DragLeave();
    return effect;
  }
  effect = allowed;
  target->Drop(data, 0, point, &effect);
  return effect;
}

}  // namespace uitest
