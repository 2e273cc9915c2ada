// The visual classes as a container meets them: created by class identifier from the
// registered module, shown through the in-place protocol in a real container window, and let
// go again until the module may unload (checked by ModuleTest after every case).
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include "bkqnfiles.h"
#include "host/control_container.h"
#include "platform/win32/unique_handles.h"
#include "tests/server/module_under_test.h"
#include "tests/server/registered_module.h"

namespace {

using Calls = std::vector<std::string>;

// A container's property sink, counting its references.
class PropertySink final : public IPropertyNotifySink {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyNotifySink) ? this : nullptr;
    if (*out) AddRef();
    return *out ? S_OK : E_NOINTERFACE;
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
  HWND page = reinterpret_cast<HWND>(1);
  const HRESULT hr = As<IOleWindow>(control, IID_IOleWindow)->GetWindow(&page);
  EXPECT_EQ(SUCCEEDED(hr), page != nullptr);
  return page;
}

class VisualClassTest : public ModuleTest, public testing::WithParamInterface<const CLSID*> {};

// Which interfaces a control answers is QueryInterfaceTest's table.
TEST_P(VisualClassTest, RefusesAggregationNamesItsEventsAndTakesPropertySinks) {
  ComPtr<IClassFactory> factory;
  ASSERT_HRESULT_SUCCEEDED(ModuleGetClassObject(*GetParam(), IID_IClassFactory, factory.put_void()));
  ComPtr<IUnknown> control;
  ASSERT_HRESULT_SUCCEEDED(factory->CreateInstance(nullptr, IID_IUnknown, control.put_void()));
  void* out = &out;
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IBkQnService, &out), E_NOINTERFACE);
  EXPECT_EQ(factory->CreateInstance(control.get(), IID_IOleObject, &out), CLASS_E_NOAGGREGATION);

  // The class information of the module's own type library, naming the event interface.
  const auto classInfo = As<IProvideClassInfo2>(control.get(), IID_IProvideClassInfo2);
  GUID source = {};
  EXPECT_EQ(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
  EXPECT_TRUE(IsEqualIID(source, DIID__IBkQnAxEvents));
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(classInfo->GetClassInfo(info.put()), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  EXPECT_TRUE(IsEqualCLSID(attributes->guid, *GetParam()));
  info->ReleaseTypeAttr(attributes);

  // One connection point, for property sinks, which Close lets go.
  const auto points = As<IConnectionPointContainer>(control.get(), IID_IConnectionPointContainer);
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(points->FindConnectionPoint(DIID__IBkQnAxEvents, point.put()), CONNECT_E_NOCONNECTION);
  ASSERT_EQ(points->FindConnectionPoint(IID_IPropertyNotifySink, point.put()), S_OK);
  PropertySink sink;
  DWORD cookie = 0, second = 0;
  EXPECT_EQ(point->Advise(points.get(), &cookie), CONNECT_E_CANNOTCONNECT);  // not a property sink
  ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
  ASSERT_EQ(point->Advise(&sink, &second), S_OK);
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
  EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(sink.m_nRefs, 2u);
  EXPECT_EQ(As<IOleObject>(control.get(), IID_IOleObject)->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_EQ(sink.m_nRefs, 1u);
}

INSTANTIATE_TEST_SUITE_P(Classes, VisualClassTest, testing::Values(&CLSID_BkQnFilesFolders, &CLSID_RsQnFilesFolders),
                         [](const auto& info) { return std::string(info.index == 0 ? "Backup" : "Restore"); });

// The restore control through the in-place protocol; the backup control has no page yet.
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

// No window while loaded, and the extent it is given; activated, a page in the container's window with
// the focus and the page's dialog keys; hidden, shown, and destroyed on deactivation.
TEST_F(InPlaceTest, APageFromActivationToDeactivation) {
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
  EXPECT_EQ(Verb(OLEIVERB_OPEN), E_NOTIMPL);
  EXPECT_EQ(As<IOleInPlaceObject>(Control(), IID_IOleInPlaceObject)->InPlaceDeactivate(), S_OK);
  EXPECT_FALSE(IsWindow(page));
  EXPECT_EQ(PageOf(Control()), nullptr);
  EXPECT_EQ(Calls(m_container.Calls().end() - 3, m_container.Calls().end()),
            (Calls{"SetActiveObject(null)", "OnUIDeactivate", "OnInPlaceDeactivate"}));
}

// Drawn into a memory bitmap: a plain frame while inactive, the page's labels and icons once
// active; nothing outside the bounds.
TEST_F(InPlaceTest, DrawsThePageOrAPlainFrame) {
  const UniqueHdc dc(CreateCompatibleDC(nullptr));
  const UniqueHbitmap bitmap(CreateBitmap(600, 400, 1, 32, nullptr));
  const SelectObjectScope selected(dc.get(), bitmap.get());
  const RECTL bounds = {10, 10, 590, 390};
  // The pixels of every other row and column that are not the face colour.
  const auto drawn = [&] {
    PatBlt(dc.get(), 0, 0, 600, 400, WHITENESS);
    EXPECT_EQ(As<IViewObject>(Control(), IID_IViewObject)
                  ->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc.get(), &bounds, nullptr, nullptr, 0),
              S_OK);
    EXPECT_EQ(GetPixel(dc.get(), 5, 5), RGB(255, 255, 255));
    int other = 0;
    for (int y = 10; y < 390; y += 2) {
      for (int x = 10; x < 590; x += 2) other += GetPixel(dc.get(), x, y) != (GetSysColor(COLOR_BTNFACE) & 0xFFFFFF);
    }
    return other;
  };
  EXPECT_EQ(drawn(), 290 + 190 - 1) << "inactive: a plain frame (its sampled half)";
  ASSERT_EQ(m_container.Activate(), S_OK);
  EXPECT_GT(drawn(), 300) << "active: the page's labels and icons";
}

TEST_F(InPlaceTest, CloseLetsEveryContainerInterfaceGo) {
  PropertySink sink;
  QACONTAINER container = {};
  container.cbSize = sizeof container;
  container.pClientSite = &m_container;
  container.pPropertyNotifySink = &sink;
  QACONTROL control = {};
  control.cbSize = sizeof control;
  ASSERT_EQ(As<IQuickActivate>(Control(), IID_IQuickActivate)->QuickActivate(&container, &control), S_OK);
  ASSERT_EQ(m_container.Activate(), S_OK);
  EXPECT_GT(m_container.ReferencesHeld(), 0u);
  EXPECT_EQ(sink.m_nRefs, 2u);
  EXPECT_EQ(Control()->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_EQ(m_container.ReferencesHeld(), 0u);
  EXPECT_EQ(sink.m_nRefs, 1u);
}

}  // namespace
