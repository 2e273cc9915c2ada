// window_shot CAPTION OUT.bmp [ACTION...]: waits for the top-level window titled CAPTION, does
// the ACTIONs a user would, brings the window to the front, repaints it and saves it, caption
// and frame included, as a 24-bit BMP; then closes it, and ends its program if that does not
// end by itself (a modal window left open over it). Built and run by scripts/screenshots.sh, in
// the same Wine desktop as the program it takes a picture of.
//   click:ID    clicks the button with control id ID (anywhere in the window)
//   post:ID     the same without waiting for it: for a button that opens a modal window
//   type:ID=TEXT  sets the text of the control with id ID, as typing would
//   wait:CAPTION  goes on with the next window titled CAPTION (a modal one the last action
//               opened); the picture is of the last window waited for
//   open:ID     in the tree view with id ID, opens the first top-level item and selects its
//               first child
//   rclick:ID=X,Y  right-clicks the control with id ID at X,Y (its client coordinates), the
//               cursor put there first; then waits for the popup menu that click opens, which
//               the picture shows over the window (taken from the screen) and which is closed
//               before the window is
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Search {
  int id;
  HWND found;
};

BOOL CALLBACK FindControl(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  if (GetDlgCtrlID(window) != search->id) return TRUE;
  search->found = window;
  return FALSE;
}

HWND Control(HWND top, int id) {
  Search search{id, nullptr};
  EnumChildWindows(top, &FindControl, reinterpret_cast<LPARAM>(&search));
  if (!search.found) std::fprintf(stderr, "window_shot: no control %d\n", id);
  return search.found;
}

HWND WaitForWindow(const char* caption) {
  HWND window = nullptr;
  for (int tries = 0; !window && tries < 300; ++tries) {
    window = FindWindowA(nullptr, caption);
    if (!window) Sleep(100);
  }
  if (!window) std::fprintf(stderr, "window_shot: no window \"%s\"\n", caption);
  Sleep(500);
  return window;
}

// The popup menu an rclick opened; null until one did.
HWND g_hMenu = nullptr;

HWND WaitForPopupMenu() {
  HWND menu = nullptr;
  for (int tries = 0; !menu && tries < 50; ++tries) {
    menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) {
      menu = nullptr;
      Sleep(100);
    }
  }
  if (!menu) std::fprintf(stderr, "window_shot: no popup menu\n");
  return menu;
}

void Act(HWND& top, const std::string& action) {
  const size_t colon = action.find(':');
  const std::string verb = action.substr(0, colon);
  if (verb == "wait") {
    if (const HWND next = WaitForWindow(action.c_str() + colon + 1)) top = next;
    return;
  }
  const HWND control = colon == std::string::npos ? nullptr : Control(top, std::atoi(action.c_str() + colon + 1));
  if (!control) return;
  if (verb == "click") {
    SendMessageA(control, BM_CLICK, 0, 0);
  } else if (verb == "post") {
    PostMessageA(control, BM_CLICK, 0, 0);
  } else if (verb == "type") {
    const size_t equals = action.find('=');
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(action.c_str() + equals + 1));
  } else if (verb == "rclick") {
    const size_t equals = action.find('='), comma = action.find(',');
    POINT point = {std::atoi(action.c_str() + equals + 1), std::atoi(action.c_str() + comma + 1)};
    const LPARAM at = MAKELPARAM(point.x, point.y);
    ClientToScreen(control, &point);
    SetForegroundWindow(top);
    SendMessageA(top, WM_NCACTIVATE, TRUE, 0);
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300);
    SetCursorPos(point.x, point.y);
    PostMessageA(control, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageA(control, WM_RBUTTONUP, 0, at);
    g_hMenu = WaitForPopupMenu();
    Sleep(300);
  } else if (verb == "open") {
    const auto root = reinterpret_cast<HTREEITEM>(SendMessageA(control, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    SendMessageA(control, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    const auto child = reinterpret_cast<HTREEITEM>(SendMessageA(control, TVM_GETNEXTITEM, TVGN_CHILD,
                                                                reinterpret_cast<LPARAM>(root)));
    SendMessageA(control, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(child ? child : root));
  }
}

// The window with its caption and frame; from the screen when `withMenu`, so that a popup menu
// over it shows too.
bool SaveBitmap(HWND window, const char* path, bool withMenu) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  const HWND drawn = withMenu ? nullptr : window;
  const HDC source = withMenu ? GetDC(nullptr) : GetWindowDC(window);
  const int left = withMenu ? rect.left : 0, top = withMenu ? rect.top : 0;
  const HDC memory = CreateCompatibleDC(source);
  const HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
  SelectObject(memory, old);
  const int stride = (width * 3 + 3) & ~3;
  BITMAPINFOHEADER info = {sizeof info, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<char> pixels(static_cast<size_t>(stride) * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(drawn, source);
  BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof info + pixels.size()), 0, 0,
                           sizeof file + sizeof info};
  FILE* out = std::fopen(path, "wb");
  if (!out) return false;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info, sizeof info, 1, out);
  std::fwrite(pixels.data(), 1, pixels.size(), out);
  return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: window_shot CAPTION OUT.bmp [click:ID|post:ID|type:ID=TEXT|wait:CAPTION|open:ID|rclick:ID=X,Y]...\n");
    return 2;
  }
  HWND window = WaitForWindow(argv[1]);
  if (!window) return 1;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  const HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);
  for (int i = 3; i < argc; ++i) Act(window, argv[i]);
  if (!g_hMenu) {
    SetForegroundWindow(window);
    // Without a window manager Wine may leave the caption drawn inactive; draw it as the active
    // window it is.
    SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(500);
  }
  const bool saved = SaveBitmap(window, argv[2], g_hMenu != nullptr);
  // The menu's loop takes Escape from its program's queue.
  if (g_hMenu) PostMessageA(g_hMenu, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageA(window, WM_CLOSE, 0, 0);
  if (process && WaitForSingleObject(process, 3000) == WAIT_TIMEOUT) TerminateProcess(process, 0);
  if (process) CloseHandle(process);
  return saved ? 0 : 1;
}
