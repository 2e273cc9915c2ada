// The control frame both visual classes share, as a container meets it: created by class
// identifier from the registered module, shown through the in-place protocol in a real
// container window, and let go again until the module may unload (checked by ModuleTest after
// every case). Which interfaces a control answers, and its refusal of aggregation, are
// QueryInterfaceTest's.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include "bkqnfiles.h"
#include "host/control_container.h"
#include "tests/server/registered_module.h"
#include "tests/support/win32/ui_driver.h"

namespace {

using Calls = std::vector<std::string>;

// A container's property sink, counting its references.
class PropertySink final : public IPropertyNotifySink {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyNotifySink) ? this : nullptr;
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_nRefs; }
  STDMETHODIMP_(ULONG) Release() override { return --m_nRefs; }
  STDMETHODIMP OnChanged(DISPID) override { return S_OK; }
  STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }
  ULONG m_nRefs = 1;
};

template <typename Interface>
ComPtr<Interface> As(IUnknown* object, REFIID iid) {
  ComPtr<Interface> result;
  EXPECT_HRESULT_SUCCEEDED(object->QueryInterface(iid, result.put_void()));
  return result;
}

HWND PageOf(IUnknown* control) {
  HWND page = nullptr;
  As<IOleWindow>(control, IID_IOleWindow)->GetWindow(&page);
  return page;
}

// The restore control through the in-place protocol.
class InPlaceTest : public ModuleTest {
 protected:
  void SetUp() override { ASSERT_EQ(m_container.Load(CLSID_RsQnFilesFolders, "In place"), S_OK); }
  IOleObject* Control() { return m_container.Control(); }
  HRESULT Verb(LONG verb) {
    RECT site = m_container.PageRect();
    return Control()->DoVerb(verb, nullptr, &m_container, 0, m_container.hwnd(), &site);
  }
  CControlContainer m_container;
};

// Quickly activated: no window while loaded, two inches square until given an extent; activated,
// a page in the container's window with the focus and the page's dialog keys; hidden, shown, and
// destroyed on deactivation, and activated again with the defaults, not the last choices; one
// connection point, for property sinks; closed, every container interface and sink let go.
TEST_F(InPlaceTest, APageFromActivationToClose) {
  SIZEL extent = {}, set = {3000, 2000};
  EXPECT_EQ(Control()->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
  EXPECT_EQ(std::make_pair(extent.cx, extent.cy), std::make_pair(5080L, 5080L));
  QACONTAINER container = {};
  container.cbSize = sizeof container;
  container.pClientSite = &m_container;
  QACONTROL control = {};
  control.cbSize = sizeof control;
  ASSERT_EQ(As<IQuickActivate>(Control(), IID_IQuickActivate)->QuickActivate(&container, &control), S_OK);
  EXPECT_EQ(PageOf(Control()), nullptr);
  EXPECT_EQ(Control()->SetExtent(DVASPECT_CONTENT, &set), S_OK);
  EXPECT_EQ(As<IViewObject2>(Control(), IID_IViewObject2)->GetExtent(DVASPECT_CONTENT, -1, nullptr, &extent), S_OK);
  EXPECT_EQ(extent.cy, 2000);
  EXPECT_TRUE(m_container.Calls().empty());

  ASSERT_EQ(m_container.Activate(), S_OK);
  EXPECT_EQ(m_container.Calls(), (Calls{"CanInPlaceActivate", "OnInPlaceActivate", "GetWindowContext", "OnUIActivate",
                                        "SetActiveObject", "ShowObject"}));
  const HWND page = PageOf(Control());
  ASSERT_TRUE(IsWindow(page));
  EXPECT_EQ(GetParent(page), m_container.hwnd());
  EXPECT_TRUE(IsChild(page, GetFocus())) << "the UI-active page has the focus";
  RECT placed;
  GetWindowRect(page, &placed);
  MapWindowPoints(nullptr, m_container.hwnd(), reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_TRUE(EqualRect(&placed, &m_container.PageRect()));
  const auto active = As<IOleInPlaceActiveObject>(Control(), IID_IOleInPlaceActiveObject);
  SetFocus(GetDlgItem(page, 215));
  MSG key = {GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_EQ(active->TranslateAccelerator(&key), S_OK);
  EXPECT_EQ(GetDlgCtrlID(GetFocus()), 1014);
  key.message = WM_LBUTTONDOWN;
  EXPECT_EQ(active->TranslateAccelerator(&key), S_FALSE) << "not a keystroke";

  EXPECT_EQ(Verb(OLEIVERB_HIDE), S_OK);
  EXPECT_FALSE(IsWindowVisible(page));
  EXPECT_EQ(Verb(OLEIVERB_SHOW), S_OK);
  EXPECT_TRUE(IsWindowVisible(page));
  EXPECT_EQ(PageOf(Control()), page) << "shown again, not made again";
  uitest::Click(page, 1014);
  uitest::Click(page, 215);
  EXPECT_EQ(As<IOleInPlaceObject>(Control(), IID_IOleInPlaceObject)->InPlaceDeactivate(), S_OK);
  EXPECT_FALSE(IsWindow(page));
  EXPECT_EQ(PageOf(Control()), nullptr);
  EXPECT_EQ(Calls(m_container.Calls().end() - 3, m_container.Calls().end()),
            (Calls{"SetActiveObject(null)", "OnUIDeactivate", "OnInPlaceDeactivate"}));
  ASSERT_EQ(m_container.Activate(), S_OK);
  EXPECT_EQ(IsDlgButtonChecked(PageOf(Control()), 210), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(PageOf(Control()), 215), BST_UNCHECKED);

  PropertySink sink;
  ComPtr<IConnectionPoint> point, none;
  const auto points = As<IConnectionPointContainer>(Control(), IID_IConnectionPointContainer);
  EXPECT_EQ(points->FindConnectionPoint(DIID__IBkQnAxEvents, none.put()), CONNECT_E_NOCONNECTION);
  ASSERT_EQ(points->FindConnectionPoint(IID_IPropertyNotifySink, point.put()), S_OK);
  DWORD cookie = 0, second = 0;
  EXPECT_EQ(point->Advise(points.get(), &cookie), CONNECT_E_CANNOTCONNECT);  // not a property sink
  ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
  ASSERT_EQ(point->Advise(&sink, &second), S_OK);
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
  EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(sink.m_nRefs, 2u);
  EXPECT_EQ(Control()->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_EQ(m_container.ReferencesHeld(), 0u);
  EXPECT_EQ(sink.m_nRefs, 1u);
}

}  // namespace
