#pragma once
// CDialogControlFrame: what makes one of the module's dialog pages an embeddable control.
//
// A visual class is a page (ui::CPage) plus this frame plus its own dual interface:
//
//   class CRsQnFilesFolders final : public CComponent<CDispatchImpl<IBkQnAxRestore>, CDialogControlFrame> {
//     const CLSID& ClassId() const override;   // its class identifier
//     int PageTemplate() const override;       // its dialog template
//     ...the page's own handlers (OnInitDialog, OnCommand, OnNotify, OnPageMessage)
//   };
//   const InterfaceEntry CRsQnFilesFolders::kInterfaces[] = {
//       BKQN_INTERFACE(CRsQnFilesFolders, IBkQnAxRestore),
//       BKQN_INTERFACE_VIA(CRsQnFilesFolders, IDispatch, IBkQnAxRestore),
//       BKQN_CONTROL_FRAME_INTERFACES(CRsQnFilesFolders),
//       {},
//   };
//
// Life of a control in its container:
//   loaded       SetClientSite; no window; extent 5080 x 5080 (0.01 mm) until SetExtent.
//   in place     DoVerb(OLEIVERB_INPLACEACTIVATE / SHOW / PRIMARY / UIACTIVATE): the site is
//                asked (CanInPlaceActivate, OnInPlaceActivate, GetWindow, GetWindowContext),
//                the page is made from the template under the site's window and placed at
//                the site's rectangle (SetObjectRects moves it later). Making the page runs
//                its initialisation, which UI-activates the control: OnUIActivate, the focus,
//                and SetActiveObject on the site's frame, so the container hands keystrokes
//                to TranslateAccelerator (the page's dialog navigation).
//   deactivated  UIDeactivate leaves the page; InPlaceDeactivate destroys it (a later
//                activation makes a new page in its initial state) and tells the site.
//   closed       Close deactivates and lets go of every container interface held (site,
//                frame, advise sinks, connection sinks); so does destruction.
//
// Never windowless: the frame asks only for IOleInPlaceSite. Nothing persists (the pages keep
// their settings in the registry), no data formats are offered and no events are fired: the
// event interface has no members, and the one connection point is for IPropertyNotifySink.
// Methods a container cannot rely on answer E_NOTIMPL (or the OLE code that says the same).
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <utility>
#include <vector>

#include "server/com_ptr.h"
#include "server/component.h"
#include "ui/page.h"

class CDialogControlFrame : public ui::CPage,
                            public IViewObjectEx,
                            public IOleInPlaceObjectWindowless,
                            public IOleInPlaceActiveObject,
                            public IOleControl,
                            public IOleObject,
                            public IPersistStreamInit,
                            public IConnectionPointContainer,
                            public ISpecifyPropertyPages,
                            public IQuickActivate,
                            public IPersistStorage,
                            public IDataObject,
                            public IProvideClassInfo2 {
 public:
  // The extent of a control nobody sized: 2 x 2 inches in 0.01 mm.
  static constexpr LONG kDefaultExtent = 5080;
  // The status the registration writes under MiscStatus\1: recompose on resize, can't link
  // inside, inside-out, activate when visible, set client site first.
  static constexpr DWORD kMiscStatus = 131473;

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** site) override;
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD saveOption) override;
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override;
  // Verbs and user type come from the registration.
  STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return OLE_S_USEREG; }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* clsid) override { return GetClassID(clsid); }
  STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return OLE_S_USEREG; }
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** advises) override;
  STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleWindow
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceObject, IOleInPlaceObjectWindowless
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override;
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
  STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnWindowMessage(UINT, WPARAM, LPARAM, LRESULT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetDropTarget(IDropTarget**) override { return E_NOTIMPL; }

  // IOleInPlaceActiveObject: keystrokes for the page go through its dialog navigation.
  STDMETHODIMP TranslateAccelerator(LPMSG message) override;
  STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

  // IOleControl: no accelerators of its own; mnemonics are the page's.
  STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
  STDMETHODIMP OnMnemonic(MSG* message) override { return TranslateAccelerator(message); }
  STDMETHODIMP OnAmbientPropertyChange(DISPID) override { return S_OK; }
  STDMETHODIMP FreezeEvents(BOOL) override { return S_OK; }

  // IViewObject, IViewObject2, IViewObjectEx
  STDMETHODIMP Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                    BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
  STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) override;
  STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  STDMETHODIMP GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override { return GetExtent(aspect, size); }
  STDMETHODIMP GetRect(DWORD, LPRECTL) override { return E_NOTIMPL; }
  // Not opaque: the page shows what the container painted below it.
  STDMETHODIMP GetViewStatus(DWORD* status) override;
  STDMETHODIMP QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT point, LONG, DWORD* hit) override;
  STDMETHODIMP QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT rect, LONG, DWORD* hit) override;
  STDMETHODIMP GetNaturalExtent(DWORD aspect, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL size) override;

  // IPersist, IPersistStreamInit, IPersistStorage: nothing to keep.
  STDMETHODIMP GetClassID(CLSID* clsid) override;
  STDMETHODIMP IsDirty() override { return S_FALSE; }
  STDMETHODIMP Load(IStream* stream) override { return stream ? S_OK : E_POINTER; }
  STDMETHODIMP Save(IStream* stream, BOOL) override { return stream ? S_OK : E_POINTER; }
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
  STDMETHODIMP InitNew() override { return S_OK; }
  STDMETHODIMP InitNew(IStorage* storage) override { return storage ? S_OK : E_POINTER; }
  STDMETHODIMP Load(IStorage* storage) override { return storage ? S_OK : E_POINTER; }
  STDMETHODIMP Save(IStorage* storage, BOOL) override { return storage ? S_OK : E_POINTER; }
  STDMETHODIMP SaveCompleted(IStorage*) override { return S_OK; }
  STDMETHODIMP HandsOffStorage() override { return S_OK; }

  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

  // ISpecifyPropertyPages: none.
  STDMETHODIMP GetPages(CAUUID* pages) override;

  // IQuickActivate: the client site, the view sink and the property sink in one call.
  STDMETHODIMP QuickActivate(QACONTAINER* container, QACONTROL* control) override;
  STDMETHODIMP SetContentExtent(LPSIZEL size) override { return SetExtent(DVASPECT_CONTENT, size); }
  STDMETHODIMP GetContentExtent(LPSIZEL size) override { return GetExtent(DVASPECT_CONTENT, size); }

  // IDataObject: no formats, no data advises.
  STDMETHODIMP GetData(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
  STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
  STDMETHODIMP QueryGetData(FORMATETC*) override { return DV_E_FORMATETC; }
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_NOCONNECTION; }
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

  // IProvideClassInfo, IProvideClassInfo2: from the module's type library.
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

 protected:
  CDialogControlFrame();
  // Destroys a page still shown; the container interfaces go with the members.
  ~CDialogControlFrame() override;

  virtual const CLSID& ClassId() const = 0;
  virtual int PageTemplate() const = 0;

  // Activates the control in place, with the page, and UI-activates it for the verbs that
  // do (OLEIVERB_UIACTIVATE, OLEIVERB_SHOW, OLEIVERB_PRIMARY). A page calls it with
  // OLEIVERB_UIACTIVATE from its initialisation to take the focus.
  HRESULT InPlaceActivate(LONG verb);

 private:
  // The one connection point, for IPropertyNotifySink. Part of the control: it counts its
  // references on the control, and its sinks are the control's to let go.
  class CPropertyNotifyPoint final : public IConnectionPoint {
   public:
    explicit CPropertyNotifyPoint(CDialogControlFrame& owner) : m_owner(owner) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** connections) override;
    void Clear() { m_vSinks.clear(); }

   private:
    CDialogControlFrame& m_owner;
    std::vector<std::pair<DWORD, ComPtr<IUnknown>>> m_vSinks;
    DWORD m_nLastCookie = 0;
  };

  // Makes the page under the site's window and places it; deactivates when it cannot.
  HRESULT MakePage();
  HRESULT UIActivate();
  IOleAdviseHolder* AdviseHolder();

  ComPtr<IOleClientSite> m_pClientSite;
  // Held while in place active.
  ComPtr<IOleInPlaceSite> m_pInPlaceSite;
  ComPtr<IOleInPlaceFrame> m_pInPlaceFrame;
  ComPtr<IOleInPlaceUIWindow> m_pInPlaceUIWindow;
  // The container's sinks: IOleObject::Advise's, IViewObject::SetAdvise's, the connection's.
  ComPtr<IOleAdviseHolder> m_pAdviseHolder;
  ComPtr<IAdviseSink> m_pViewSink;
  DWORD m_nViewAspects = 0;
  DWORD m_nViewFlags = 0;
  CPropertyNotifyPoint m_propertyNotifyPoint{*this};

  SIZEL m_sizeExtent = {kDefaultExtent, kDefaultExtent};
  bool m_bInPlaceActive = false;
  bool m_bUIActive = false;
  // While the page's initialisation runs inside MakePage.
  bool m_bMakingPage = false;
};

// The control frame's rows of a visual class's interface table, in the order they are answered.
#define BKQN_CONTROL_FRAME_INTERFACES(Class)                                                                     \
  BKQN_INTERFACE(Class, IViewObjectEx), BKQN_INTERFACE(Class, IViewObject2), BKQN_INTERFACE(Class, IViewObject), \
      BKQN_INTERFACE(Class, IOleInPlaceObjectWindowless), BKQN_INTERFACE(Class, IOleInPlaceObject),              \
      BKQN_INTERFACE_VIA(Class, IOleWindow, IOleInPlaceObjectWindowless),                                         \
      BKQN_INTERFACE(Class, IOleInPlaceActiveObject), BKQN_INTERFACE(Class, IOleControl),                        \
      BKQN_INTERFACE(Class, IOleObject), BKQN_INTERFACE(Class, IPersistStreamInit),                              \
      BKQN_INTERFACE_VIA(Class, IPersist, IPersistStreamInit), BKQN_INTERFACE(Class, IConnectionPointContainer), \
      BKQN_INTERFACE(Class, ISpecifyPropertyPages), BKQN_INTERFACE(Class, IQuickActivate),                       \
      BKQN_INTERFACE(Class, IPersistStorage), BKQN_INTERFACE(Class, IDataObject),                                \
      BKQN_INTERFACE(Class, IProvideClassInfo), BKQN_INTERFACE(Class, IProvideClassInfo2)
