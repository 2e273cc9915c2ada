#include "ui/window.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/win32/this_module.h"

namespace ui {

namespace {

// Class names registered by this layer, so the module's stop can unregister them.
std::mutex g_classesLock;
std::vector<std::string> g_classes;

bool EnsureWindowClass(const char* name, UINT style, WNDPROC procedure) {
  std::lock_guard<std::mutex> lock(g_classesLock);
  if (std::find(g_classes.begin(), g_classes.end(), name) != g_classes.end()) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = style;
  windowClass.lpfnWndProc = procedure;
  // Room for the window object, bound at WM_NCCREATE.
  windowClass.cbWndExtra = sizeof(LONG_PTR);
  windowClass.hInstance = ThisModule();
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  g_classes.emplace_back(name);
  return true;
}

// Answers a dialog procedure gives directly rather than through DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
      return true;
    default:
      return false;
  }
}

// Destroys the window of an object that is being destroyed itself. Its derived parts are gone
// already, so the window is unbound first and its last messages go to the default procedure.
void DestroyUnbound(HWND& window, int slot) {
  if (!window) return;
  SetWindowLongPtrA(window, slot, 0);
  DestroyWindow(std::exchange(window, nullptr));
}

}  // namespace

void EnsureCommonControls() {
  static const bool initialised = [] {
    INITCOMMONCONTROLSEX controls = {sizeof controls,
                                     ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  static_cast<void>(initialised);
}

void UnregisterWindowClasses() {
  std::lock_guard<std::mutex> lock(g_classesLock);
  for (const std::string& name : g_classes) UnregisterClassA(name.c_str(), ThisModule());
  g_classes.clear();
}

void CenterOverOwner(HWND window, HWND owner) {
  RECT own = {};
  GetWindowRect(window, &own);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT around = monitor.rcWork;
  if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
  const LONG width = own.right - own.left;
  const LONG height = own.bottom - own.top;
  LONG left = around.left + (around.right - around.left - width) / 2;
  LONG top = around.top + (around.bottom - around.top - height) / 2;
  const RECT& work = monitor.rcWork;
  left = std::max(work.left, std::min(left, work.right - width));
  top = std::max(work.top, std::min(top, work.bottom - height));
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string WindowText(HWND window) {
  std::string text(static_cast<size_t>(std::max(GetWindowTextLengthA(window), 0)) + 1, '\0');
  text.resize(static_cast<size_t>(std::max(GetWindowTextA(window, text.data(), static_cast<int>(text.size())), 0)));
  return text;
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

// CDialog

CDialog::~CDialog() {
  if (!m_bModal) DestroyUnbound(m_hWnd, DWLP_USER);
}

INT_PTR CDialog::RunModal(int templateId, HWND owner) {
  EnsureCommonControls();
  if (!owner) owner = GetActiveWindow();
  m_bModal = true;
  const INT_PTR result = DialogBoxParamA(ThisModule(), MAKEINTRESOURCEA(templateId), owner, &CDialog::DialogProc,
                                         reinterpret_cast<LPARAM>(this));
  m_bModal = false;
  return result;
}

HWND CDialog::CreateModeless(int templateId, HWND parent) {
  EnsureCommonControls();
  m_bModal = false;
  return CreateDialogParamA(ThisModule(), MAKEINTRESOURCEA(templateId), parent, &CDialog::DialogProc,
                            reinterpret_cast<LPARAM>(this));
}

void CDialog::Destroy() {
  if (m_hWnd && !m_bModal) DestroyWindow(m_hWnd);
}

MessageResult CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      MessageResult result = OnCommand(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      // A modal dialog nobody answered still closes on OK, Cancel, Escape and its close box.
      if (!result.handled && m_bModal && (id == IDOK || id == IDCANCEL)) {
        End(id);
        return Handled();
      }
      return result;
    }
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    default:
      return OnMessage(message, wParam, lParam);
  }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CDialog*>(lParam);
    self->m_hWnd = window;
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    return self->OnInitDialog() ? TRUE : FALSE;
  }
  auto* self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
    self->m_hWnd = nullptr;
    self->OnWindowGone();
    return FALSE;
  }
  const MessageResult result = self->Dispatch(message, wParam, lParam);
  if (!result.handled) return FALSE;
  if (AnswersDirectly(message)) return static_cast<INT_PTR>(result.value);
  SetWindowLongPtrA(window, DWLP_MSGRESULT, result.value);
  return TRUE;
}

// CWindow

CWindow::~CWindow() { DestroyUnbound(m_hWnd, 0); }

HWND CWindow::Create(const char* className, const char* title, DWORD style, DWORD exStyle, const RECT& rect,
                     HWND parent, UINT classStyle) {
  if (!EnsureWindowClass(className, classStyle, &CWindow::WindowProc)) return nullptr;
  return CreateWindowExA(exStyle, className, title, style, rect.left, rect.top, rect.right - rect.left,
                         rect.bottom - rect.top, parent, nullptr, ThisModule(), this);
}

void CWindow::Destroy() {
  if (m_hWnd) DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<CWindow*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->m_hWnd = window;
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<CWindow*>(GetWindowLongPtrA(window, 0));
  }
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, 0, 0);
    self->m_hWnd = nullptr;
    self->OnWindowGone();
    return DefWindowProcA(window, message, wParam, lParam);
  }
  const MessageResult result = self->OnMessage(message, wParam, lParam);
  return result.handled ? result.value : DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace ui
