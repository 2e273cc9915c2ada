#include "ui/page.h"

namespace ui {

namespace {

// The static styles that place text left (0), centred (1), right (2) or show an icon (3);
// only the first is left alone.
constexpr LONG kAlignmentBits = 0x3;

}  // namespace

CPage::CPage() {
  const LOGBRUSH hollow = {BS_HOLLOW, 0, 0};
  m_hHollowBrush.reset(CreateBrushIndirect(&hollow));
}

void CPage::PrepareIconLabels() {
  m_mapIconLabels.clear();
  EnumChildWindows(hwnd(), &CPage::PrepareIconLabel, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK CPage::PrepareIconLabel(HWND child, LPARAM page) {
  const LONG style = GetWindowLongA(child, GWL_STYLE);
  if ((style & kAlignmentBits) == 0) return TRUE;
  char className[16] = {};
  GetClassNameA(child, className, sizeof className);
  if (lstrcmpiA(className, "STATIC") != 0) return TRUE;
  const auto icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
  const LONG ownerDrawn = (style & ~LONG{0x2}) | SS_OWNERDRAW;
  if (ownerDrawn != style) SetWindowLongA(child, GWL_STYLE, ownerDrawn);
  reinterpret_cast<CPage*>(page)->m_mapIconLabels[child] = icon;
  return TRUE;
}

void CPage::DrawIconLabel(const DRAWITEMSTRUCT& item) const {
  const auto found = m_mapIconLabels.find(item.hwndItem);
  if (found != m_mapIconLabels.end() && found->second) DrawIcon(item.hDC, 0, 0, found->second);
}

MessageResult CPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const MessageResult own = OnPageMessage(message, wParam, lParam); own.handled) return own;
  switch (message) {
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      return Handled(reinterpret_cast<LRESULT>(m_hHollowBrush.get()));
    }
    case WM_ERASEBKGND:
      return Handled(1);
    case WM_DRAWITEM:
      // Reported as handled also for a label that has nothing to show.
      DrawIconLabel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return Handled(1);
    default:
      return NotHandled();
  }
}

}  // namespace ui
