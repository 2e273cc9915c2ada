#include "host/control_container.h"

#include <algorithm>

#include "bkqnfiles.h"

namespace {

constexpr int kMargin = 8;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

// The area the page's controls cover, in page coordinates: a page is made at its template's
// size, but the container decides where it goes, so this is what the page needs.
SIZE PageContentSize(HWND page) {
  SIZE size = {0, 0};
  for (HWND child = ::GetWindow(page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    size.cx = std::max(size.cx, rect.right);
    size.cy = std::max(size.cy, rect.bottom);
  }
  return size;
}

template <typename Interface>
HRESULT ValidateAndStore(Interface* control) {
  VARIANT_BOOL valid = VARIANT_FALSE;
  if (HRESULT hr = control->Validate(&valid); FAILED(hr)) return hr;
  if (!valid) return S_FALSE;
  return control->PersistSettings(1);
}

}  // namespace

CControlContainer::CControlContainer() = default;

CControlContainer::~CControlContainer() {
  CloseControl();
  Destroy();
}

HRESULT CControlContainer::Open(REFCLSID clsid, const std::string& title) {
  HRESULT hr = Load(clsid, title);
  return SUCCEEDED(hr) ? Activate() : hr;
}

HRESULT CControlContainer::Load(REFCLSID clsid, const std::string& title) {
  ui::EnsureCommonControls();
  const RECT initial = {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT + 480, CW_USEDEFAULT + 400};
  // Not clipping its children: a page paints no background and shows what the window paints.
  if (!CWindow::Create("BkQnControlContainer", title.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, initial,
                       nullptr)) {
    return HRESULT_FROM_WIN32(GetLastError());
  }
  m_hOk = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, kButtonWidth,
                          kButtonHeight, hwnd(), reinterpret_cast<HMENU>(IDOK), nullptr, nullptr);
  m_hCancel = CreateWindowExA(0, "BUTTON", "Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, kButtonWidth,
                              kButtonHeight, hwnd(), reinterpret_cast<HMENU>(IDCANCEL), nullptr, nullptr);
  GetClientRect(hwnd(), &m_rcPage);
  InflateRect(&m_rcPage, -kMargin, -kMargin);
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, m_pControl.put_void());
  if (SUCCEEDED(hr)) hr = m_pControl->SetClientSite(this);
  if (FAILED(hr)) CloseControl();
  return hr;
}

HRESULT CControlContainer::Activate() {
  if (!m_pControl) return E_UNEXPECTED;
  if (HRESULT hr = m_pControl->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, hwnd(), &m_rcPage); FAILED(hr)) {
    return hr;
  }
  FitAroundPage();
  ui::CenterOverOwner(hwnd(), nullptr);
  ShowWindow(hwnd(), SW_SHOW);
  return S_OK;
}

void CControlContainer::FitAroundPage() {
  const HWND page = PageWindow();
  if (!page) return;
  const SIZE content = PageContentSize(page);
  m_rcPage = {kMargin, kMargin, kMargin + content.cx, kMargin + content.cy};
  const int buttonsTop = m_rcPage.bottom + kMargin;
  const int right = std::max<int>(m_rcPage.right, 2 * kButtonWidth + kMargin);
  SetWindowPos(m_hCancel, nullptr, right - kButtonWidth, buttonsTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetWindowPos(m_hOk, nullptr, right - 2 * kButtonWidth - kMargin, buttonsTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  // The buttons speak in the page's font.
  const LRESULT font = SendMessageA(page, WM_GETFONT, 0, 0);
  for (const HWND button : {m_hOk, m_hCancel}) SendMessageA(button, WM_SETFONT, static_cast<WPARAM>(font), TRUE);

  RECT frame = {0, 0, right + kMargin, buttonsTop + kButtonHeight + kMargin};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(hwnd(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(hwnd(), GWL_EXSTYLE)));
  SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
  ComPtr<IOleInPlaceObject> inPlace;
  if (SUCCEEDED(m_pControl.As(inPlace, IID_IOleInPlaceObject))) inPlace->SetObjectRects(&m_rcPage, &m_rcPage);
}

void CControlContainer::CloseControl() {
  if (!m_pControl) return;
  m_pControl->Close(OLECLOSE_NOSAVE);
  m_pControl->SetClientSite(nullptr);
  m_pActiveObject.reset();
  m_pControl.reset();
}

HWND CControlContainer::PageWindow() const {
  ComPtr<IOleWindow> window;
  HWND page = nullptr;
  if (m_pControl && SUCCEEDED(m_pControl.As(window, IID_IOleWindow))) window->GetWindow(&page);
  return page;
}

CControlContainer::Outcome CControlContainer::RunUntilClosed() {
  MSG message;
  while (m_outcome == Outcome::kOpen && GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (m_pActiveObject && m_pActiveObject->TranslateAccelerator(&message) == S_OK) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return m_outcome;
}

HRESULT CControlContainer::Store() { return Persist(1); }

HRESULT CControlContainer::LoadSettings() { return m_pControl ? Persist(0) : E_UNEXPECTED; }

HRESULT CControlContainer::Persist(VARIANT_BOOL action) {
  ComPtr<IBkQnAxRestore> restore;
  if (SUCCEEDED(m_pControl.As(restore, IID_IBkQnAxRestore))) {
    return action == 1 ? ValidateAndStore(restore.get()) : restore->PersistSettings(action);
  }
  ComPtr<IBkQnAxBackup> backup;
  if (SUCCEEDED(m_pControl.As(backup, IID_IBkQnAxBackup))) {
    return action == 1 ? ValidateAndStore(backup.get()) : backup->PersistSettings(action);
  }
  return E_NOINTERFACE;
}

void CControlContainer::Finish(Outcome outcome) {
  m_outcome = outcome;
  CloseControl();
  ShowWindow(hwnd(), SW_HIDE);
}

ui::MessageResult CControlContainer::OnMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && m_pControl) {
        // An invalid page stays open; a page that cannot store is left as it is too.
        if (Store() == S_OK) Finish(Outcome::kStored);
        return ui::Handled();
      }
      if (LOWORD(wParam) == IDCANCEL) {
        Finish(Outcome::kCancelled);
        return ui::Handled();
      }
      return ui::NotHandled();
    case WM_CLOSE:
      Finish(Outcome::kCancelled);
      return ui::Handled();
    case WM_SETFOCUS:
      // Back into the page, which puts it on the control that had it.
      if (const HWND page = PageWindow()) SetFocus(page);
      return ui::Handled();
    default:
      return ui::NotHandled();
  }
}

HRESULT CControlContainer::Note(const char* call) {
  m_vCalls.emplace_back(call);
  return S_OK;
}

STDMETHODIMP CControlContainer::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite)) {
    *out = static_cast<IOleClientSite*>(this);
  } else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite)) {
    *out = static_cast<IOleInPlaceSite*>(this);
  } else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame)) {
    *out = static_cast<IOleInPlaceFrame*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP CControlContainer::GetContainer(IOleContainer** container) {
  if (!container) return E_POINTER;
  *container = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP CControlContainer::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = hwnd();
  return *window ? S_OK : E_FAIL;
}

STDMETHODIMP CControlContainer::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                                 LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  Note("GetWindowContext");
  if (!frame || !document || !position || !clip || !info) return E_POINTER;
  *frame = this;
  AddRef();
  // The frame is the document window too.
  *document = nullptr;
  *position = m_rcPage;
  *clip = m_rcPage;
  info->fMDIApp = FALSE;
  info->hwndFrame = hwnd();
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

STDMETHODIMP CControlContainer::OnPosRectChange(LPCRECT position) {
  if (!position) return E_POINTER;
  m_rcPage = *position;
  ComPtr<IOleInPlaceObject> inPlace;
  if (m_pControl && SUCCEEDED(m_pControl.As(inPlace, IID_IOleInPlaceObject))) inPlace->SetObjectRects(position, position);
  return S_OK;
}

STDMETHODIMP CControlContainer::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) {
  Note(object ? "SetActiveObject" : "SetActiveObject(null)");
  m_pActiveObject = ComPtr<IOleInPlaceActiveObject>(object);
  return S_OK;
}
