// The window layer under Wine, on a dialog template of this program: the object is bound when
// its window is made, answers reach the system the way each message wants them, and window and
// object end in either order.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "ui/window.h"

namespace {

constexpr int kTemplate = 100;
constexpr UINT kPing = WM_APP + 1;

// Remembers what it saw; answers a notification with code 1 by 42 and an IDOK command when
// told to.
class TestDialog : public ui::CDialog {
 public:
  HWND initWindow = nullptr;
  int gone = 0;
  std::vector<UINT> posted;  // sent to itself from OnInitDialog
  INT_PTR endOkWith = 0;     // 0: IDOK is left to the layer

 protected:
  bool OnInitDialog() override {
    initWindow = hwnd();
    for (UINT command : posted) PostMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    return true;
  }
  ui::MessageResult OnCommand(int id, int, HWND) override {
    if (id == IDOK && endOkWith != 0) {
      End(endOkWith);
      return ui::Handled();
    }
    return ui::NotHandled();
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
  int destroyed = 0;

 protected:
  ui::MessageResult OnMessage(UINT message, WPARAM, LPARAM) override {
    if (message == WM_DESTROY) ++destroyed;
    return message == kPing ? ui::Handled(7) : ui::NotHandled();
  }
  void OnWindowGone() override { ++gone; }
};

// Wine, like 64-bit Windows, swallows a fault inside a window procedure: every test counts them.
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

HWND NewTestWindow(TestWindow& window, HWND parent = nullptr) {
  return window.Create("BkQnWindowTest", "test", WS_OVERLAPPEDWINDOW, 0, RECT{0, 0, 200, 100}, parent);
}

TEST_F(WindowTest, ModalRunsEndByTheirCommand) {
  const struct {
    std::vector<UINT> posted;
    INT_PTR endOkWith;
    INT_PTR result;
  } kRuns[] = {
      {{IDOK}, 0, IDOK},
      {{IDCANCEL}, 0, IDCANCEL},
      {{IDOK}, 5, 5},
  };
  for (const auto& run : kRuns) {
    TestDialog dialog;
    dialog.posted = run.posted;
    dialog.endOkWith = run.endOkWith;
    EXPECT_EQ(dialog.RunModal(kTemplate), run.result) << &run - kRuns;
    EXPECT_NE(dialog.initWindow, nullptr);
    EXPECT_EQ(dialog.hwnd(), nullptr);
    EXPECT_EQ(dialog.gone, 1);
  }
}

TEST_F(WindowTest, ModelessIsBoundAtInitAndAnswersThroughTheResultSlot) {
  TestDialog dialog;
  const HWND window = dialog.CreateModeless(kTemplate, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(dialog.initWindow, window);
  EXPECT_EQ(dialog.hwnd(), window);
  NMHDR header = {window, 0, 1};
  EXPECT_EQ(SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)), 42);
  header.code = 2;
  EXPECT_EQ(SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)), 0);
  EXPECT_EQ(SendMessageA(window, kPing, 0, 0), 7);
  // Unlike a modal run, a page's IDOK is its owner's business.
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(IsWindow(window));
}

TEST_F(WindowTest, AWindowGoesWithItsObject) {
  HWND dialogWindow = nullptr;
  HWND window = nullptr;
  {
    TestDialog dialog;
    dialogWindow = dialog.CreateModeless(kTemplate, nullptr);
    TestWindow frame;
    window = NewTestWindow(frame);
    ASSERT_TRUE(dialogWindow && window);
    EXPECT_EQ(SendMessageA(window, kPing, 0, 0), 7);
  }
  EXPECT_FALSE(IsWindow(dialogWindow));
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowTest, AnObjectOutlivesTheWindowItsParentDestroyed) {
  TestWindow parent;
  ASSERT_NE(NewTestWindow(parent), nullptr);
  TestDialog page;
  TestWindow child;
  ASSERT_NE(page.CreateModeless(kTemplate, parent.hwnd()), nullptr);
  ASSERT_NE(NewTestWindow(child, parent.hwnd()), nullptr);
  parent.Destroy();
  for (const auto* gone : {&parent.gone, &page.gone, &child.gone}) EXPECT_EQ(*gone, 1);
  EXPECT_EQ(child.destroyed, 1);
  EXPECT_EQ(page.hwnd(), nullptr);
  EXPECT_EQ(child.hwnd(), nullptr);
  page.Destroy();  // nothing left to destroy
}

}  // namespace
