#include "server/dialog_control_frame.h"

#include <cstddef>

#include "bkqnfiles.h"
#include "platform/win32/unique_handles.h"
#include "server/com_boundary.h"
#include "server/enumerator.h"
#include "server/module_type_library.h"

namespace {

// Draws `control` into `dc` at `place`. Through a bitmap of its own: controls clip their
// drawing to their client area in device units, so they must draw at the device's origin.
void PrintControl(HWND control, HDC dc, const RECT& place) {
  const int width = place.right - place.left;
  const int height = place.bottom - place.top;
  const UniqueHdc memory(CreateCompatibleDC(dc));
  const UniqueHbitmap bitmap(CreateCompatibleBitmap(dc, width, height));
  if (!memory || !bitmap) return;
  const SelectObjectScope selected(memory.get(), bitmap.get());
  const RECT all = {0, 0, width, height};
  FillRect(memory.get(), &all, GetSysColorBrush(COLOR_BTNFACE));
  SendMessageA(control, WM_PRINT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
  BitBlt(dc, place.left, place.top, width, height, memory.get(), 0, 0, SRCCOPY);
}

bool UIActivates(LONG verb) { return verb == OLEIVERB_UIACTIVATE || verb == OLEIVERB_SHOW || verb == OLEIVERB_PRIMARY; }

}  // namespace

CDialogControlFrame::CDialogControlFrame() = default;

CDialogControlFrame::~CDialogControlFrame() { Destroy(); }

// ---- activation -------------------------------------------------------------------------

HRESULT CDialogControlFrame::InPlaceActivate(LONG verb) {
  if (!m_pClientSite) return E_UNEXPECTED;
  if (!m_bInPlaceActive) {
    ComPtr<IOleInPlaceSite> site;
    if (HRESULT hr = m_pClientSite.As(site, IID_IOleInPlaceSite); FAILED(hr)) return hr;
    if (site->CanInPlaceActivate() != S_OK) return E_FAIL;
    if (HRESULT hr = site->OnInPlaceActivate(); FAILED(hr)) return hr;
    m_pInPlaceSite = site;
    m_bInPlaceActive = true;
  }
  if (!hwnd()) {
    if (HRESULT hr = MakePage(); FAILED(hr)) return hr;
  }
  // From the page's initialisation: it is shown once it has been placed.
  if (m_bMakingPage) return UIActivates(verb) ? UIActivate() : S_OK;
  ShowWindow(hwnd(), SW_SHOWNA);
  if (UIActivates(verb)) {
    if (HRESULT hr = UIActivate(); FAILED(hr)) return hr;
  }
  m_pClientSite->ShowObject();
  return S_OK;
}

HRESULT CDialogControlFrame::MakePage() {
  HWND parent = nullptr;
  RECT position = {}, clip = {};
  OLEINPLACEFRAMEINFO frameInfo = {};
  frameInfo.cb = sizeof frameInfo;
  bool made = SUCCEEDED(m_pInPlaceSite->GetWindow(&parent)) &&
              SUCCEEDED(m_pInPlaceSite->GetWindowContext(m_pInPlaceFrame.put(), m_pInPlaceUIWindow.put(), &position,
                                                         &clip, &frameInfo));
  if (made) {
    m_bMakingPage = true;
    made = CreateModeless(PageTemplate(), parent) != nullptr;
    m_bMakingPage = false;
  }
  if (!made) {
    InPlaceDeactivate();
    return E_FAIL;
  }
  SetObjectRects(&position, &clip);
  return S_OK;
}

HRESULT CDialogControlFrame::UIActivate() {
  if (m_bUIActive) return S_OK;
  if (HRESULT hr = m_pInPlaceSite->OnUIActivate(); FAILED(hr)) return hr;
  m_bUIActive = true;
  if (hwnd() && !IsChild(hwnd(), GetFocus())) SetFocus(hwnd());
  for (IOleInPlaceUIWindow* window : {static_cast<IOleInPlaceUIWindow*>(m_pInPlaceFrame.get()), m_pInPlaceUIWindow.get()}) {
    if (!window) continue;
    window->SetActiveObject(this, nullptr);
    // No tools: the control needs no room on the container's borders.
    window->SetBorderSpace(nullptr);
  }
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::UIDeactivate() {
  if (!m_bUIActive) return S_OK;
  m_bUIActive = false;
  for (IOleInPlaceUIWindow* window : {m_pInPlaceUIWindow.get(), static_cast<IOleInPlaceUIWindow*>(m_pInPlaceFrame.get())}) {
    if (window) window->SetActiveObject(nullptr, nullptr);
  }
  m_pInPlaceSite->OnUIDeactivate(FALSE);
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::InPlaceDeactivate() {
  if (!m_bInPlaceActive) return S_OK;
  UIDeactivate();
  m_bInPlaceActive = false;
  Destroy();
  m_pInPlaceFrame.reset();
  m_pInPlaceUIWindow.reset();
  const ComPtr<IOleInPlaceSite> site = std::move(m_pInPlaceSite);
  site->OnInPlaceDeactivate();
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::SetObjectRects(LPCRECT position, LPCRECT clip) {
  if (!position || !clip) return E_POINTER;
  if (!hwnd()) return S_OK;
  SetWindowPos(hwnd(), nullptr, position->left, position->top, position->right - position->left,
               position->bottom - position->top, SWP_NOZORDER | SWP_NOACTIVATE);
  // What lies outside the clip rectangle is not shown; the region is the window's then.
  RECT visible = {};
  IntersectRect(&visible, position, clip);
  if (EqualRect(&visible, position)) {
    SetWindowRgn(hwnd(), nullptr, TRUE);
  } else {
    OffsetRect(&visible, -position->left, -position->top);
    SetWindowRgn(hwnd(), CreateRectRgnIndirect(&visible), TRUE);
  }
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) {
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
      return InPlaceActivate(verb);
    case OLEIVERB_HIDE:
      UIDeactivate();
      if (hwnd()) ShowWindow(hwnd(), SW_HIDE);
      return S_OK;
    default:
      // No verbs of its own: a positive one is taken as the primary verb.
      if (verb < 0) return E_NOTIMPL;
      return SUCCEEDED(InPlaceActivate(OLEIVERB_PRIMARY)) ? OLEOBJ_S_INVALIDVERB : E_FAIL;
  }
}

STDMETHODIMP CDialogControlFrame::TranslateAccelerator(LPMSG message) {
  if (!message) return E_INVALIDARG;
  if (message->message < WM_KEYFIRST || message->message > WM_KEYLAST || !hwnd()) return S_FALSE;
  return IsDialogMessageA(hwnd(), message) ? S_OK : S_FALSE;
}

STDMETHODIMP CDialogControlFrame::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = hwnd();
  return *window ? S_OK : E_FAIL;
}

// ---- the container's interfaces ---------------------------------------------------------

STDMETHODIMP CDialogControlFrame::SetClientSite(IOleClientSite* site) {
  m_pClientSite = ComPtr<IOleClientSite>(site);
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = ComPtr<IOleClientSite>(m_pClientSite).release();
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::Close(DWORD) {
  InPlaceDeactivate();
  if (m_pAdviseHolder) m_pAdviseHolder->SendOnClose();
  m_pAdviseHolder.reset();
  m_pViewSink.reset();
  m_propertyNotifyPoint.Clear();
  m_pClientSite.reset();
  return S_OK;
}

IOleAdviseHolder* CDialogControlFrame::AdviseHolder() {
  if (!m_pAdviseHolder) CreateOleAdviseHolder(m_pAdviseHolder.put());
  return m_pAdviseHolder.get();
}

STDMETHODIMP CDialogControlFrame::Advise(IAdviseSink* sink, DWORD* cookie) {
  IOleAdviseHolder* holder = AdviseHolder();
  return holder ? holder->Advise(sink, cookie) : E_OUTOFMEMORY;
}

STDMETHODIMP CDialogControlFrame::Unadvise(DWORD cookie) {
  return m_pAdviseHolder ? m_pAdviseHolder->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

STDMETHODIMP CDialogControlFrame::EnumAdvise(IEnumSTATDATA** advises) {
  if (!advises) return E_POINTER;
  IOleAdviseHolder* holder = AdviseHolder();
  return holder ? holder->EnumAdvise(advises) : E_OUTOFMEMORY;
}

STDMETHODIMP CDialogControlFrame::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  m_pViewSink = ComPtr<IAdviseSink>(sink);
  m_nViewAspects = aspects;
  m_nViewFlags = flags;
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects) *aspects = m_nViewAspects;
  if (flags) *flags = m_nViewFlags;
  if (sink) *sink = ComPtr<IAdviseSink>(m_pViewSink).release();
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::QuickActivate(QACONTAINER* container, QACONTROL* control) {
  if (!container || !control) return E_POINTER;
  if (container->cbSize < offsetof(QACONTAINER, pUnkEventSink) || control->cbSize < sizeof(QACONTROL)) {
    return E_INVALIDARG;
  }
  SetClientSite(container->pClientSite);
  if (container->pAdviseSink) SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
  control->dwPropNotifyCookie = 0;
  if (container->pPropertyNotifySink) {
    m_propertyNotifyPoint.Advise(container->pPropertyNotifySink, &control->dwPropNotifyCookie);
  }
  control->dwMiscStatus = kMiscStatus;
  GetViewStatus(&control->dwViewStatus);
  control->dwEventCookie = 0;
  control->dwPointerActivationPolicy = 0;
  return S_OK;
}

// ---- size and drawing -------------------------------------------------------------------

STDMETHODIMP CDialogControlFrame::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  m_sizeExtent = *size;
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  *size = m_sizeExtent;
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::GetNaturalExtent(DWORD aspect, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*,
                                                   LPSIZEL size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  *size = {kDefaultExtent, kDefaultExtent};
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::GetMiscStatus(DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = kMiscStatus;
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::GetViewStatus(DWORD* status) {
  if (!status) return E_POINTER;
  *status = 0;
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT point, LONG, DWORD* hit) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!bounds || !hit) return E_POINTER;
  *hit = PtInRect(bounds, point) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT rect, LONG, DWORD* hit) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!bounds || !rect || !hit) return E_POINTER;
  RECT common;
  *hit = IntersectRect(&common, bounds, rect) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                                       LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!dc || !bounds) return E_INVALIDARG;
  RECT area = {bounds->left, bounds->top, bounds->right, bounds->bottom};
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  if (!hwnd()) FrameRect(dc, &area, GetSysColorBrush(COLOR_WINDOWFRAME));
  // The page paints nothing of its own: its shown controls, each at its place, the bottom of
  // the z-order first.
  for (HWND child = hwnd() ? ::GetWindow(::GetWindow(hwnd(), GW_CHILD), GW_HWNDLAST) : nullptr; child;
       child = ::GetWindow(child, GW_HWNDPREV)) {
    if (!(GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT place;
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&place), 2);
    OffsetRect(&place, area.left, area.top);
    PrintControl(child, dc, place);
  }
  RestoreDC(dc, saved);
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) {
  if (!colors) return E_POINTER;
  *colors = nullptr;
  return S_FALSE;
}

// ---- persistence, pages, control information -----------------------------------------------

STDMETHODIMP CDialogControlFrame::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = ClassId();
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  size->QuadPart = 0;
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::GetPages(CAUUID* pages) {
  if (!pages) return E_POINTER;
  pages->cElems = 0;
  pages->pElems = nullptr;
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::GetClassInfo(ITypeInfo** info) { return GetModuleTypeInfo(ClassId(), info); }

STDMETHODIMP CDialogControlFrame::GetGUID(DWORD kind, GUID* guid) {
  if (!guid) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *guid = DIID__IBkQnAxEvents;
  return S_OK;
}

// ---- the connection point -----------------------------------------------------------------

STDMETHODIMP CDialogControlFrame::EnumConnectionPoints(IEnumConnectionPoints** points) {
  return ComBoundary([&] {
    return CEnumerator<IEnumConnectionPoints, IConnectionPoint*>::Create({&m_propertyNotifyPoint}, 0, points);
  });
}

STDMETHODIMP CDialogControlFrame::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (!IsEqualIID(iid, IID_IPropertyNotifySink)) return CONNECT_E_NOCONNECTION;
  *point = &m_propertyNotifyPoint;
  (*point)->AddRef();
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::CPropertyNotifyPoint::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IConnectionPoint)) return E_NOINTERFACE;
  *out = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CDialogControlFrame::CPropertyNotifyPoint::AddRef() {
  return static_cast<IConnectionPointContainer&>(m_owner).AddRef();
}

STDMETHODIMP_(ULONG) CDialogControlFrame::CPropertyNotifyPoint::Release() {
  return static_cast<IConnectionPointContainer&>(m_owner).Release();
}

STDMETHODIMP CDialogControlFrame::CPropertyNotifyPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = IID_IPropertyNotifySink;
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::CPropertyNotifyPoint::GetConnectionPointContainer(
    IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  *container = &m_owner;
  (*container)->AddRef();
  return S_OK;
}

STDMETHODIMP CDialogControlFrame::CPropertyNotifyPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  ComPtr<IUnknown> held;
  if (FAILED(sink->QueryInterface(IID_IPropertyNotifySink, held.put_void()))) return CONNECT_E_CANNOTCONNECT;
  return ComBoundary([&] {
    m_vSinks.emplace_back(m_nLastCookie + 1, std::move(held));
    *cookie = ++m_nLastCookie;
    return S_OK;
  });
}

STDMETHODIMP CDialogControlFrame::CPropertyNotifyPoint::Unadvise(DWORD cookie) {
  for (auto sink = m_vSinks.begin(); sink != m_vSinks.end(); ++sink) {
    if (sink->first != cookie) continue;
    m_vSinks.erase(sink);
    return S_OK;
  }
  return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP CDialogControlFrame::CPropertyNotifyPoint::EnumConnections(IEnumConnections** connections) {
  return ComBoundary([&] {
    std::vector<CONNECTDATA> data;
    for (const auto& [cookie, sink] : m_vSinks) data.push_back({sink.get(), cookie});
    return CEnumerator<IEnumConnections, CONNECTDATA>::Create(data, 0, connections);
  });
}
