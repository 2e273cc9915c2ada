#pragma once
// The window layer of the module's pages and dialogs: learn it from this header.
//
// CDialog is a dialog made from one of this module's templates, run modally (RunModal, with
// EndDialog's result) or created modeless as a page (CreateModeless). CWindow is a window of a
// class registered by this layer, such as a container's frame. Both bind their object to the
// window when it is made (WM_INITDIALOG / WM_NCCREATE), so every message after that reaches
// the object's one handler, and unbind at WM_NCDESTROY. Notifications of child controls
// (WM_COMMAND, WM_NOTIFY) come to their owner's OnCommand / OnNotify; all else to OnMessage.
//
// A window object owns its window: the window is destroyed with the object at the latest, and
// a window destroyed first (its parent went) just leaves the object without one. A window
// destroyed by its object's destructor is unbound first (the object is no longer whole): a
// class that must see its own WM_DESTROY calls Destroy() in its destructor.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace ui {

// What one message handler decided: handled, with the message's answer, or left to the default.
struct MessageResult {
  bool handled = false;
  LRESULT value = 0;
};
inline MessageResult Handled(LRESULT value = 0) { return {true, value}; }
inline MessageResult NotHandled() { return {}; }

// Common controls of the classes this module's templates use (date and time picker, list
// view, tree view), registered once for the process before the first template is made.
void EnsureCommonControls();

// The module's start and stop for windows: classes registered by CWindow are unregistered
// when the module stops (DLL detach, or the end of a program linking this layer).
void UnregisterWindowClasses();

// Centres `window` over `owner` (the screen's work area when there is none), kept on screen.
void CenterOverOwner(HWND window, HWND owner);

// The text of a window or control, in the ANSI code page.
std::string WindowText(HWND window);

// A message box owned by `owner`; returns the button chosen (IDOK, IDYES, ...).
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

class CDialog {
 public:
  CDialog() = default;
  virtual ~CDialog();
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Runs the dialog of template `templateId` modally; `owner` null means the active window.
  // Returns what End was given, or -1 when the dialog could not be made.
  INT_PTR RunModal(int templateId, HWND owner = nullptr);
  // Makes the dialog of template `templateId` modeless under `parent` (a page); null on failure.
  HWND CreateModeless(int templateId, HWND parent);
  // Destroys a modeless dialog's window, if it still has one.
  void Destroy();

  HWND hwnd() const { return m_hWnd; }
  HWND Item(int id) const { return GetDlgItem(m_hWnd, id); }
  // Ends a modal run with `result`.
  void End(INT_PTR result) { EndDialog(m_hWnd, result); }

  bool IsChecked(int id) const { return IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }
  void SetChecked(int id, bool checked) { CheckDlgButton(m_hWnd, id, checked ? BST_CHECKED : BST_UNCHECKED); }
  void EnableItem(int id, bool enabled) { EnableWindow(Item(id), enabled ? TRUE : FALSE); }
  std::string ItemText(int id) const { return WindowText(Item(id)); }
  void SetItemText(int id, const std::string& text) { SetDlgItemTextA(m_hWnd, id, text.c_str()); }
  int ShowMessage(const std::string& text, const std::string& caption, UINT type) const {
    return ShowMessageBox(m_hWnd, text, caption, type);
  }

 protected:
  // WM_INITDIALOG: answer true to let the system give the first control the focus.
  virtual bool OnInitDialog() { return true; }
  // WM_COMMAND from a control, a menu or an accelerator (`control` null then).
  virtual MessageResult OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return NotHandled(); }
  // WM_NOTIFY from a control; the answer goes back through DWLP_MSGRESULT.
  virtual MessageResult OnNotify(const NMHDR& /*header*/) { return NotHandled(); }
  // Every other message once the dialog is bound.
  virtual MessageResult OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return NotHandled(); }
  // Called last for the window (WM_NCDESTROY), after which the object has none.
  virtual void OnWindowGone() {}

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  MessageResult Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_hWnd = nullptr;
  bool m_bModal = false;
};

class CWindow {
 public:
  CWindow() = default;
  virtual ~CWindow();
  CWindow(const CWindow&) = delete;
  CWindow& operator=(const CWindow&) = delete;

  // Makes the window, of class `className` (registered on first use with `classStyle`, the
  // arrow cursor and the dialog colour as background); null on failure.
  HWND Create(const char* className, const char* title, DWORD style, DWORD exStyle, const RECT& rect,
              HWND parent, UINT classStyle = 0);
  void Destroy();
  HWND hwnd() const { return m_hWnd; }

 protected:
  // One handler for every message once bound (from WM_NCCREATE on); DefWindowProc otherwise.
  virtual MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual void OnWindowGone() {}

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_hWnd = nullptr;
};

}  // namespace ui
