#pragma once
// A container for one visual control, as the backup application shows a client's page: a
// top-level window with the control's page above an OK and a Cancel button, and the container
// side of in-place activation (client site, in-place site, in-place frame). OK asks the
// control to Validate and then to PersistSettings(1); Cancel stores nothing. qnhost's `ui`
// command shows one, and the page tests drive the module's pages inside one.
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "server/com_ptr.h"
#include "ui/window.h"

class CControlContainer final : public ui::CWindow,
                                public IOleClientSite,
                                public IOleInPlaceSite,
                                public IOleInPlaceFrame {
 public:
  enum class Outcome { kOpen, kStored, kCancelled };

  CControlContainer();
  // Closes the control, then the window.
  ~CControlContainer() override;

  // Makes the window titled `title`, creates the control `clsid` in process, gives it this
  // site and activates it in place; the window is then fitted around the page and shown.
  HRESULT Open(REFCLSID clsid, const std::string& title);
  // Open in two steps: the window and the control in its site, still loaded (no page)...
  HRESULT Load(REFCLSID clsid, const std::string& title);
  // ...then activated in place, with the window fitted and shown.
  HRESULT Activate();
  // Runs the window's messages until OK or Cancel ends it, handing keystrokes to the
  // active control first, as a container does.
  Outcome RunUntilClosed();
  // What the host does once the page shows: PersistSettings(0), the control's load.
  HRESULT LoadSettings();
  // Deactivates and closes the control and lets it go; the window stays.
  void CloseControl();

  IOleObject* Control() const { return m_pControl.get(); }
  // The control's page window; null while it has none.
  HWND PageWindow() const;
  // The area of the window the page is placed at.
  const RECT& PageRect() const { return m_rcPage; }
  Outcome Result() const { return m_outcome; }
  // The control's calls on this container so far, by method name, in order.
  const std::vector<std::string>& Calls() const { return m_vCalls; }
  // References the control holds on this container.
  ULONG ReferencesHeld() const { return m_nRefs; }

  // IUnknown: the container is owned by its creator; the count only tells who holds it.
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_nRefs; }
  STDMETHODIMP_(ULONG) Release() override { return --m_nRefs; }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return S_OK; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer** container) override;
  STDMETHODIMP ShowObject() override { return Note("ShowObject"); }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return Note("CanInPlaceActivate"); }
  STDMETHODIMP OnInPlaceActivate() override { return Note("OnInPlaceActivate"); }
  STDMETHODIMP OnUIActivate() override { return Note("OnUIActivate"); }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return Note("OnUIDeactivate"); }
  STDMETHODIMP OnInPlaceDeactivate() override { return Note("OnInPlaceDeactivate"); }
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT position) override;

  // IOleInPlaceUIWindow, IOleInPlaceFrame: no tools, menus or status line.
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override { return widths ? INPLACE_E_NOTOOLSPACE : S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override;
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 private:
  ui::MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  HRESULT Note(const char* call);
  // Sizes the window around the page's controls and the buttons below them.
  void FitAroundPage();
  // OK: Validate, then PersistSettings(1) when valid.
  HRESULT Store();
  // PersistSettings(action) through whichever of the two control interfaces the control has.
  HRESULT Persist(VARIANT_BOOL action);
  void Finish(Outcome outcome);

  ComPtr<IOleObject> m_pControl;
  ComPtr<IOleInPlaceActiveObject> m_pActiveObject;
  RECT m_rcPage = {};
  HWND m_hOk = nullptr;
  HWND m_hCancel = nullptr;
  Outcome m_outcome = Outcome::kOpen;
  std::vector<std::string> m_vCalls;
  ULONG m_nRefs = 0;
};
