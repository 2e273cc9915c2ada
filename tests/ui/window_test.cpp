// The window layer under Wine, on a dialog template of this program: the object is bound when
// its window is made, answers reach the system the way each message wants them, and window and
// object end in either order.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

#include "ui/window.h"

namespace {

constexpr int kTemplate = 100;
constexpr UINT kPing = WM_APP + 1;

// Notes its window at WM_INITDIALOG; answers a notification with code 1 by 42 and kPing by 7;
// when `endOkWith` is set, posts itself an IDOK from WM_INITDIALOG and ends the run with it.
class TestDialog : public ui::CDialog {
 public:
  HWND initWindow = nullptr;
  int gone = 0;
  INT_PTR endOkWith = 0;

 protected:
  bool OnInitDialog() override {
    initWindow = hwnd();
    if (endOkWith) PostMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return true;
  }
  ui::MessageResult OnCommand(int id, int, HWND) override {
    if (id != IDOK || endOkWith == 0) return ui::NotHandled();
    End(endOkWith);
    return ui::Handled();
  }
  ui::MessageResult OnNotify(const NMHDR& header) override {
    return header.code == 1 ? ui::Handled(42) : ui::NotHandled();
  }
  ui::MessageResult OnMessage(UINT message, WPARAM, LPARAM) override {
    return message == kPing ? ui::Handled(7) : ui::NotHandled();
  }
  void OnWindowGone() override { ++gone; }
};

class TestWindow : public ui::CWindow {
 public:
  int gone = 0;
  HWND Make(HWND parent = nullptr) {
    return Create("BkQnWindowTest", "test", WS_OVERLAPPEDWINDOW, 0, RECT{0, 0, 200, 100}, parent);
  }

 protected:
  ui::MessageResult OnMessage(UINT message, WPARAM, LPARAM) override {
    return message == kPing ? ui::Handled(7) : ui::NotHandled();
  }
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

// Modal runs ended by IDOK or IDCANCEL without a handler are the dialogs' tests' everyday.
TEST_F(WindowTest, AModalRunAnswersWhatEndWasGiven) {
  TestDialog dialog;
  dialog.endOkWith = 5;
  EXPECT_EQ(dialog.RunModal(kTemplate), 5);
  EXPECT_EQ(dialog.hwnd(), nullptr);
  EXPECT_EQ(dialog.gone, 1);
}

// Bound from WM_INITDIALOG and WM_NCCREATE on; a notification's answer goes through the dialog's
// result slot; both windows are destroyed with their objects.
TEST_F(WindowTest, WindowsAreBoundWhenMadeAndGoWithTheirObjects) {
  HWND page = nullptr, window = nullptr;
  {
    TestDialog dialog;
    TestWindow frame;
    page = dialog.CreateModeless(kTemplate, nullptr);
    window = frame.Make();
    ASSERT_TRUE(page && window);
    EXPECT_EQ(dialog.initWindow, page);
    NMHDR header = {page, 0, 1};
    EXPECT_EQ(SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)), 42);
    header.code = 2;
    EXPECT_EQ(SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)), 0);
    EXPECT_EQ(SendMessageA(page, kPing, 0, 0), 7);
    EXPECT_EQ(SendMessageA(window, kPing, 0, 0), 7);
    // Unlike a modal run, a page's IDOK is its owner's business.
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(page));
  }
  EXPECT_FALSE(IsWindow(page));
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowTest, AnObjectOutlivesTheWindowItsParentDestroyed) {
  TestWindow parent, child;
  TestDialog page;
  ASSERT_NE(parent.Make(), nullptr);
  ASSERT_NE(page.CreateModeless(kTemplate, parent.hwnd()), nullptr);
  ASSERT_NE(child.Make(parent.hwnd()), nullptr);
  parent.Destroy();
  for (const auto* gone : {&parent.gone, &page.gone, &child.gone}) EXPECT_EQ(*gone, 1);
  EXPECT_EQ(page.hwnd(), nullptr);
  EXPECT_EQ(child.hwnd(), nullptr);
  page.Destroy();  // nothing left to destroy
}

}  // namespace
