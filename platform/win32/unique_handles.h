#pragma once
// The owners of every kind of Win32 handle the module holds. Each is a UniqueResource: one
// owner, move-only, get / release / reset / put.
#include <windows.h>
#include <commctrl.h>
#include <oleauto.h>

#include "platform/unique_resource.h"

using UniqueHkey = UniqueAny<HKEY, &RegCloseKey>;

struct FindHandleTraits {
  using Type = HANDLE;
  static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Type handle) noexcept { FindClose(handle); }
};
using UniqueFindHandle = UniqueResource<FindHandleTraits>;

struct FileHandleTraits {
  using Type = HANDLE;
  static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Type handle) noexcept { CloseHandle(handle); }
};
using UniqueFileHandle = UniqueResource<FileHandleTraits>;
// Kernel objects that are null when there is none: processes, threads, events.
using UniqueHandle = UniqueAny<HANDLE, &CloseHandle>;

// A window this code created and nobody else destroys. Windows that their parent may destroy
// first (dialog pages) are tracked by their window object instead (ui/window.h).
using UniqueHwnd = UniqueAny<HWND, &DestroyWindow>;
using UniqueHmenu = UniqueAny<HMENU, &DestroyMenu>;
// Only for icons that were made (LoadImage without LR_SHARED, ImageList_GetIcon, SHGetFileInfo).
using UniqueHicon = UniqueAny<HICON, &DestroyIcon>;
using UniqueHimagelist = UniqueAny<HIMAGELIST, &ImageList_Destroy>;
template <typename Gdi>
using UniqueGdiObject = UniqueAny<Gdi, &DeleteObject>;
using UniqueHbrush = UniqueGdiObject<HBRUSH>;
using UniqueHfont = UniqueGdiObject<HFONT>;
using UniqueHbitmap = UniqueGdiObject<HBITMAP>;
// A memory device context this code created.
using UniqueHdc = UniqueAny<HDC, &DeleteDC>;
using UniqueHglobal = UniqueAny<HGLOBAL, &GlobalFree>;
using UniqueBstr = UniqueAny<BSTR, &SysFreeString>;

// Keeps an object selected into a device context and selects the previous one back.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ object) : m_hDC(dc), m_hPrevious(SelectObject(dc, object)) {}
  ~SelectObjectScope() {
    if (m_hPrevious && m_hPrevious != HGDI_ERROR) SelectObject(m_hDC, m_hPrevious);
  }
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;

 private:
  HDC m_hDC;
  HGDIOBJ m_hPrevious;
};

// Locks a global memory block for as long as it lives.
template <typename T>
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL memory) : m_hMemory(memory), m_pData(static_cast<T*>(GlobalLock(memory))) {}
  ~GlobalLockScope() {
    if (m_pData) GlobalUnlock(m_hMemory);
  }
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;

  T* get() const { return m_pData; }

 private:
  HGLOBAL m_hMemory;
  T* m_pData;
};
