// The window layer under Wine, on a dialog template of this program: window and object end in
// either order.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

#include "ui/window.h"

namespace {

constexpr int kTemplate = 100;

// Objects that count their windows' ends; the plain window has to answer its own messages.
class TestDialog : public ui::CDialog {
 public:
  int gone = 0;

 protected:
  void OnWindowGone() override { ++gone; }
};

class TestWindow : public ui::CWindow {
 public:
  int gone = 0;
  HWND Make(HWND parent = nullptr) {
    return Create("BkQnWindowTest", "test", WS_OVERLAPPEDWINDOW, 0, RECT{0, 0, 200, 100}, parent);
  }

 protected:
  ui::MessageResult OnMessage(UINT, WPARAM, LPARAM) override { return ui::NotHandled(); }
  void OnWindowGone() override { ++gone; }
};

// Wine, like 64-bit Windows, swallows a fault inside a window procedure (such as a call into
// an object half destroyed): every test counts them.
std::atomic<long> g_faults{0};

LONG CALLBACK CountFault(EXCEPTION_POINTERS* exception) {
  const DWORD code = exception->ExceptionRecord->ExceptionCode;
  if ((code >> 30) == 3 && code != 0xE06D7363) ++g_faults;  // an error, not a C++ throw
  return EXCEPTION_CONTINUE_SEARCH;
}

class WindowTest : public testing::Test {
 protected:
  void SetUp() override { m_pHandler = AddVectoredExceptionHandler(1, &CountFault); }
  void TearDown() override {
    RemoveVectoredExceptionHandler(m_pHandler);
    EXPECT_EQ(g_faults.exchange(0), 0) << "a window procedure faulted";
  }

 private:
  void* m_pHandler = nullptr;
};

// Binding at WM_INITDIALOG, answers and modal runs are what every dialog test does; here the
// two orders of ending. A window its object's destructor destroys was once still bound then, so
// its WM_DESTROY reached an object cut back to its base (a fault counted above). Objects outlive
// the windows their parent destroyed.
TEST_F(WindowTest, WindowsGoWithTheirObjectsOrTheirParent) {
  HWND page = nullptr, window = nullptr;
  {
    TestDialog dialog;
    TestWindow frame;
    page = dialog.CreateModeless(kTemplate, nullptr);
    window = frame.Make();
    ASSERT_TRUE(page && window);
    // Unlike a modal run, a page's IDOK is its owner's business.
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(page));
  }
  EXPECT_FALSE(IsWindow(page));
  EXPECT_FALSE(IsWindow(window));

  TestWindow parent, child;
  TestDialog inner;
  ASSERT_NE(parent.Make(), nullptr);
  ASSERT_NE(inner.CreateModeless(kTemplate, parent.hwnd()), nullptr);
  ASSERT_NE(child.Make(parent.hwnd()), nullptr);
  parent.Destroy();
  for (const auto* gone : {&parent.gone, &inner.gone, &child.gone}) EXPECT_EQ(*gone, 1);
  EXPECT_EQ(inner.hwnd(), nullptr);
  EXPECT_EQ(child.hwnd(), nullptr);
  inner.Destroy();  // nothing left to destroy
}

}  // namespace
