#pragma once
// A plain window holding the backup page's tree view (201) and list view (206), for the tree
// and list tests until the page exists: it hands the tree's notifications to the manager as
// the page does.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "backup_page/folder_tree_manager.h"
#include "ui/window.h"

class CTreeListHost : public ui::CWindow {
 public:
  CTreeListHost();
  HWND Tree() const { return GetDlgItem(hwnd(), 201); }
  HWND List() const { return GetDlgItem(hwnd(), 206); }
  void SetManager(FolderTreeManager* manager) { m_pManager = manager; }

 protected:
  ui::MessageResult OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  FolderTreeManager* m_pManager = nullptr;
};

// The texts of `parent`'s child items in tree order (TVI_ROOT: the top level).
std::vector<std::string> ChildNames(HWND tree, HTREEITEM parent);
// The child item of `parent` showing `name`; null when there is none.
HTREEITEM ChildItem(HWND tree, HTREEITEM parent, const std::string& name);
