#include "tests/backup_page/tree_list_host.h"

CTreeListHost::CTreeListHost() {
  ui::EnsureCommonControls();
  Create("BkQnTreeListHost", "Tree and list", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, RECT{0, 0, 600, 400}, nullptr);
  CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0, 250, 360,
                  hwnd(), reinterpret_cast<HMENU>(201), nullptr, nullptr);
  CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                  260, 0, 320, 360, hwnd(), reinterpret_cast<HMENU>(206), nullptr, nullptr);
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = 150;
  column.pszText = const_cast<char*>("Path");
  SendMessageA(List(), LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
}

ui::MessageResult CTreeListHost::OnMessage(UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_NOTIFY || !m_pManager) return ui::NotHandled();
  const auto& tree = *reinterpret_cast<const NMTREEVIEWA*>(lParam);
  if (tree.hdr.code == TVN_ITEMEXPANDEDA) m_pManager->ExpandChildren(tree);
  if (tree.hdr.code == TVN_SELCHANGEDA) m_pManager->SelectNode(tree);
  return ui::NotHandled();
}

namespace {

std::vector<HTREEITEM> ChildItems(HWND tree, HTREEITEM parent) {
  std::vector<HTREEITEM> items;
  LRESULT item = parent == TVI_ROOT ? SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)
                                    : SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent));
  for (; item; item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, item)) items.push_back(reinterpret_cast<HTREEITEM>(item));
  return items;
}

std::string ItemText(HWND tree, HTREEITEM item) {
  char text[MAX_PATH] = {};
  TVITEMA data{};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = MAX_PATH;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  return text;
}

}  // namespace

std::vector<std::string> ChildNames(HWND tree, HTREEITEM parent) {
  std::vector<std::string> names;
  for (HTREEITEM item : ChildItems(tree, parent)) names.push_back(ItemText(tree, item));
  return names;
}

HTREEITEM ChildItem(HWND tree, HTREEITEM parent, const std::string& name) {
  for (HTREEITEM item : ChildItems(tree, parent)) {
    if (ItemText(tree, item) == name) return item;
  }
  return nullptr;
}
