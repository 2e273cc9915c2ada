#pragma once
// The base of the module's control pages: modeless child dialogs that sit on a host's wizard
// page and show what the host painted below them.
//
// A page's messages go first to the page itself (OnInitDialog, OnCommand, OnNotify, and
// OnPageMessage for the rest), then to this base, then to the default dialog processing. The
// base draws labels, check boxes and radio buttons without a background of their own, in the
// window-text colour; it never erases the page; and it draws the icon labels itself, once a
// page has called PrepareIconLabels during its initialisation.
#include <map>

#include "platform/win32/unique_handles.h"
#include "ui/window.h"

namespace ui {

class CPage : public CDialog {
 public:
  CPage();

 protected:
  // Turns every icon label (and every centred or right-aligned label) into an owner-drawn label
  // that this base draws with the icon it showed. Call once per page initialisation.
  void PrepareIconLabels();

  // The page's own handling of a message that is neither WM_COMMAND nor WM_NOTIFY.
  virtual MessageResult OnPageMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return NotHandled(); }

 private:
  MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) final;
  static BOOL CALLBACK PrepareIconLabel(HWND child, LPARAM page);
  void DrawIconLabel(const DRAWITEMSTRUCT& item) const;

  UniqueHbrush m_hHollowBrush;
  // Label -> the icon it showed; the icons stay owned by their labels.
  std::map<HWND, HICON> m_mapIconLabels;
};

}  // namespace ui
