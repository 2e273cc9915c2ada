#include "tools/window_shot.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/win32/unique_handles.h"

namespace shot {
namespace {

using UniqueMemoryDc = UniqueAny<HDC, &DeleteDC>;

// A window's device context, caption and frame included, released when it goes.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : m_hWnd(window), m_hDC(GetWindowDC(window)) {}
  ~WindowDc() { ReleaseDC(m_hWnd, m_hDC); }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return m_hDC; }

 private:
  HWND m_hWnd;
  HDC m_hDC;
};

struct Script {
  std::string bmpPath;
  std::vector<std::string> steps;
  size_t next = 0;
  HWND window = nullptr;
  DWORD since = 0;
};

Script* g_pScript = nullptr;

struct Search {
  std::string caption;
  HWND found = nullptr;
};

BOOL CALLBACK FindCaption(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  if (IsWindowVisible(window) && search->caption == text) search->found = window;
  return TRUE;
}

HWND FindThreadWindow(const std::string& caption) {
  Search search{caption};
  EnumThreadWindows(GetCurrentThreadId(), &FindCaption, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void Finish(int code) {
  std::fflush(stdout);
  ExitProcess(static_cast<UINT>(code));
}

// One step per tick, so each window has painted before the next is acted on.
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  Script& script = *g_pScript;
  if (script.next == script.steps.size()) {
    if (!script.window) Finish(3);
    SetForegroundWindow(script.window);
    // Without a window manager Wine may keep the caption drawn inactive; draw it as the active
    // window it is.
    SendMessageA(script.window, WM_NCACTIVATE, TRUE, 0);
    RedrawWindow(script.window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Finish(CaptureWindow(script.window, script.bmpPath) ? 0 : 4);
  }
  const std::string& step = script.steps[script.next];
  const size_t colon = step.find(':');
  const std::string verb = step.substr(0, colon);
  const std::string argument = colon == std::string::npos ? "" : step.substr(colon + 1);
  if (verb == "wait") {
    const HWND window = FindThreadWindow(argument);
    if (!window) {
      if (GetTickCount() - script.since > 10000) {
        std::fprintf(stderr, "no window \"%s\"\n", argument.c_str());
        Finish(3);
      }
      return;
    }
    script.window = window;
  } else if (verb == "click") {
    PostMessageA(GetDlgItem(script.window, std::atoi(argument.c_str())), BM_CLICK, 0, 0);
  } else if (verb == "type") {
    const size_t equals = argument.find('=');
    SetDlgItemTextA(script.window, std::atoi(argument.c_str()), argument.substr(equals + 1).c_str());
  }
  ++script.next;
  script.since = GetTickCount();
}

}  // namespace

void LoadFonts(const std::string& folder) {
  // The dialogs' "MS Sans Serif" and the caption buttons' glyphs.
  for (const char* name : {"sserife.fon", "marlett.ttf"})
    AddFontResourceExA((folder + "\\" + name).c_str(), FR_PRIVATE, nullptr);
}

bool CaptureWindow(HWND window, const std::string& bmpPath) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as a .bmp stores it
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = ((static_cast<DWORD>(width) * 3 + 3) & ~3u) * static_cast<DWORD>(height);

  const WindowDc source(window);
  const UniqueMemoryDc memory(CreateCompatibleDC(source.get()));
  void* bits = nullptr;
  const UniqueHbitmap bitmap(
      CreateDIBSection(source.get(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return false;
  {
    const SelectObjectScope selected(memory.get(), bitmap.get());
    if (!BitBlt(memory.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY)) return false;
    GdiFlush();
  }
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + header.biSizeImage;
  std::ofstream out(bmpPath, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(static_cast<const char*>(bits), header.biSizeImage);
  return static_cast<bool>(out);
}

void RunScript(const std::string& bmpPath, const std::vector<std::string>& steps) {
  static Script script;
  script = {bmpPath, steps, 0, nullptr, GetTickCount()};
  g_pScript = &script;
  SetTimer(nullptr, 0, 150, &Tick);
}

}  // namespace shot
