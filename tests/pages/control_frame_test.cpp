// The control frame both visual classes share, as a container meets it: created by class
// identifier from the registered module, shown through the in-place protocol in a real
// container window, and let go again until the module may unload (checked by ModuleTest after
// every case). Which interfaces a control answers, and its refusal of aggregation, are
// QueryInterfaceTest's.
#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include "bkqnfiles.h"
#include "host/control_container.h"
#include "tests/server/registered_module.h"

namespace {

using Calls = std::vector<std::string>;

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

// Quickly activated: no window while loaded, and the extent it is given; activated, a page in
// the container's window with the focus and the page's dialog keys; hidden, shown, and destroyed
// on deactivation; closed, every container interface let go.
TEST_F(InPlaceTest, APageFromActivationToClose) {
  QACONTAINER container = {};
  container.cbSize = sizeof container;
  container.pClientSite = &m_container;
  QACONTROL control = {};
  control.cbSize = sizeof control;
  ASSERT_EQ(As<IQuickActivate>(Control(), IID_IQuickActivate)->QuickActivate(&container, &control), S_OK);
  EXPECT_EQ(PageOf(Control()), nullptr);
  SIZEL extent = {}, set = {3000, 2000};
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
  EXPECT_EQ(As<IOleInPlaceObject>(Control(), IID_IOleInPlaceObject)->InPlaceDeactivate(), S_OK);
  EXPECT_FALSE(IsWindow(page));
  EXPECT_EQ(PageOf(Control()), nullptr);
  EXPECT_EQ(Calls(m_container.Calls().end() - 3, m_container.Calls().end()),
            (Calls{"SetActiveObject(null)", "OnUIDeactivate", "OnInPlaceDeactivate"}));
  EXPECT_EQ(Control()->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_EQ(m_container.ReferencesHeld(), 0u);
}

}  // namespace
