#include "backup_page/folder_tree_ctrl.h"

#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "backup_page/file_drop_source.h"
#include "backup_page/folder_tree_manager.h"
#include "server/com_ptr.h"

UniqueHglobal FolderFileList(const std::string& path) {
  std::string listed = path;
  if (listed.size() >= 4 && listed.back() == '\\') listed.pop_back();
  UniqueHglobal memory(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, path.size() + 40));
  GlobalLockScope<char> bytes(memory.get());
  if (!bytes.get()) return {};
  static_assert(sizeof(DROPFILES) == 20, "the header the receivers read");
  DROPFILES header{};
  header.pFiles = sizeof header;
  std::memcpy(bytes.get(), &header, sizeof header);
  std::memcpy(bytes.get() + sizeof header, listed.data(), listed.size());
  return memory;
}

namespace {

// The drag begins once the cursor leaves `start` (screen coordinates) or the system's drag
// delay has passed; a mouse button pressed or released first, or Escape, calls it off.
bool WaitForDragStart(HWND window, const RECT& start) {
  SetCapture(window);
  const DWORD began = GetTickCount();
  bool started = false;
  bool cancelled = false;
  while (!started && !cancelled && GetCapture() == window) {
    MSG message;
    if (PeekMessageA(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) ||
        PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
      switch (message.message) {
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
          cancelled = true;
          break;
        case WM_KEYDOWN:
          cancelled = message.wParam == VK_ESCAPE;
          break;
        default:
          started = !PtInRect(&start, message.pt);
      }
      continue;
    }
    const DWORD waited = GetTickCount() - began;
    if (waited >= DD_DEFDRAGDELAY) {
      started = true;
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, DD_DEFDRAGDELAY - waited, QS_MOUSE | QS_KEY);
    }
  }
  if (GetCapture() == window) ReleaseCapture();
  return started;
}

}  // namespace

void FolderTreeCtrl::BeginDrag(const NMTREEVIEWA& notification) {
  const HTREEITEM item = notification.itemNew.hItem;
  SendMessageA(m_hWnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  const int index = m_pManager ? m_pManager->FindNodeByItem(item) : -1;
  if (index < 0 || !m_pManager->Node(index).m_bFolder) return;
  const std::string& path = m_pManager->Node(index).m_strPath;
  if (path.size() < 4) return;
  UniqueHglobal files = FolderFileList(path);
  if (!files) return;

  auto* source = new (std::nothrow) CFileDropSource(std::move(files));
  if (!source) return;
  ComPtr<IDataObject> data;
  source->InnerUnknown()->QueryInterface(IID_IDataObject, data.put_void());
  source->InnerUnknown()->Release();
  const RECT start{0, 0, 5, 5};
  if (!WaitForDragStart(m_hWnd, start)) return;
  DWORD effect = DROPEFFECT_NONE;
  DoDragDrop(data.get(), source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
}
