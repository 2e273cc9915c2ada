#include "backup_page/backup_control.h"

#include <commctrl.h>
#include <shellapi.h>

#include <iterator>
#include <new>
#include <utility>
#include <variant>

#include "backup_page/folder_tree_manager.h"
#include "dialogs/file_properties_dialog.h"
#include "dialogs/folder_properties_dialog.h"
#include "dialogs/rule_text.h"
#include "model/entry_text.h"
#include "model/module_strings.h"
#include "model/settings_store.h"
#include "platform/win32/this_module.h"
#include "resources/backup_page_ids.h"
#include "server/com_boundary.h"
#include "ui/controls.h"

namespace {

// Menu commands.
constexpr UINT kAddToList = 1;
constexpr UINT kExplore = 2;
constexpr UINT kDelete = 100;
constexpr UINT kProperties = 101;

// Row markers of the item data: a row without an entry of its own yet.
constexpr int kNewFolderRow = -1;
constexpr int kNewFileRow = -2;

UniqueHicon LoadButtonIcon(int id) {
  return UniqueHicon(static_cast<HICON>(
      LoadImageA(ThisModule(), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
}

void SetRowTexts(HWND list, int row, const RowTexts& texts) {
  ui::SetListItemText(list, row, 1, texts.include);
  ui::SetListItemText(list, row, 2, texts.exclude);
}

// The menu item with `command` enabled, or greyed and disabled.
void EnableCommand(HMENU menu, UINT item, UINT by, bool enabled) {
  EnableMenuItem(menu, item, by | (enabled ? MF_ENABLED : MF_GRAYED | MF_DISABLED));
}

// Right-button tracking at the cursor; the chosen command, 0 for none.
UINT TrackAtCursor(HMENU menu, HWND owner) {
  POINT cursor;
  GetCursorPos(&cursor);
  return static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, cursor.x, cursor.y, 0, owner, nullptr));
}

}  // namespace

const InterfaceEntry CBkQnFilesFolders::kInterfaces[] = {
    BKQN_INTERFACE(CBkQnFilesFolders, IBkQnAxBackup),
    BKQN_INTERFACE_VIA(CBkQnFilesFolders, IDispatch, IBkQnAxBackup),
    BKQN_CONTROL_FRAME_INTERFACES(CBkQnFilesFolders),
    {},
};

CBkQnFilesFolders::CBkQnFilesFolders(IUnknown* outer) : CComponent(outer, kInterfaces) {}

// The page goes while the tree's model and the wrappers still exist.
CBkQnFilesFolders::~CBkQnFilesFolders() { Destroy(); }

int CBkQnFilesFolders::PageTemplate() const { return IDD_BACKUP_PAGE; }

STDMETHODIMP CBkQnFilesFolders::PersistSettings(VARIANT_BOOL bAction) {
  return ComBoundary([&] {
    if (!m_pTreeManager) return S_OK;
    if (bAction == 1) {
      Save();
    } else {
      Load();
    }
    return S_OK;
  });
}

// The page keeps no record of changes: the caller's value stays.
STDMETHODIMP CBkQnFilesFolders::SettingsChanged(VARIANT_BOOL*) { return S_OK; }

STDMETHODIMP CBkQnFilesFolders::Validate(VARIANT_BOOL* pfIsValid) {
  if (pfIsValid) *pfIsValid = VARIANT_TRUE;
  return S_OK;
}

bool CBkQnFilesFolders::OnInitDialog() {
  InPlaceActivate(OLEIVERB_UIACTIVATE);
  const HWND list = Item(IDC_PAGE_LIST);
  m_listCtrl.Bind(list);
  // The rows keep their own order (by upper-cased path), not the list's.
  SetWindowLongPtrA(list, GWL_STYLE, GetWindowLongPtrA(list, GWL_STYLE) & ~LONG_PTR{LVS_SORTASCENDING});
  ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES, LVS_EX_FULLROWSELECT);
  const HWND tree = Item(IDC_PAGE_TREE);
  m_treeCtrl.Bind(tree);
  SetWindowLongPtrA(tree, GWL_STYLE, GetWindowLongPtrA(tree, GWL_STYLE) & ~LONG_PTR{TVS_DISABLEDRAGDROP});

  m_hPropertiesIcon = LoadButtonIcon(IDI_PAGE_PROPERTIES);
  m_hRemoveIcon = LoadButtonIcon(IDI_PAGE_REMOVE);
  SendDlgItemMessageA(hwnd(), IDC_PAGE_PROPERTIES, BM_SETIMAGE, IMAGE_ICON,
                      reinterpret_cast<LPARAM>(m_hPropertiesIcon.get()));
  SendDlgItemMessageA(hwnd(), IDC_PAGE_REMOVE, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(m_hRemoveIcon.get()));

  m_hTreeMenu.reset(CreatePopupMenu());
  AppendMenuA(m_hTreeMenu.get(), MF_STRING, kAddToList, ModuleString(IDS_MENU_ADD_TO_LIST).c_str());
  AppendMenuA(m_hTreeMenu.get(), MF_STRING, kExplore, ModuleString(IDS_MENU_EXPLORE).c_str());
  m_hListMenu.reset(CreatePopupMenu());
  AppendMenuA(m_hListMenu.get(), MF_STRING, kProperties, ModuleString(IDS_MENU_PROPERTIES).c_str());
  AppendMenuA(m_hListMenu.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(m_hListMenu.get(), MF_STRING, kDelete, ModuleString(IDS_MENU_DELETE).c_str());

  PrepareIconLabels();
  ui::AddListColumn(list, 0, "Path", 150);
  ui::AddListColumn(list, 1, "Include Mask", 85);
  ui::AddListColumn(list, 2, "Exclude Mask", 85);
  try {
    m_pTreeManager = std::make_unique<FolderTreeManager>(m_treeCtrl, m_listCtrl, kPageDriveTypes,
                                                         static_cast<int>(std::size(kPageDriveTypes)), true);
  } catch (const std::bad_alloc&) {
    // A page without its model shows an empty tree and keeps the store as it is.
  }
  UpdateControls();
  // The activation gave the page the focus.
  return false;
}

void CBkQnFilesFolders::TearDown() {
  m_treeCtrl.Unbind();
  m_listCtrl.Unbind();
  m_hTreeMenu.reset();
  m_hListMenu.reset();
  m_pTreeManager.reset();
}

ui::MessageResult CBkQnFilesFolders::OnPageMessage(UINT message, WPARAM, LPARAM) {
  if (message == WM_DESTROY) TearDown();
  return ui::NotHandled();
}

ui::MessageResult CBkQnFilesFolders::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED || !m_pTreeManager) return ui::NotHandled();
  try {
    if (id == IDC_PAGE_PROPERTIES) {
      const int row = ui::ListNextSelected(Item(IDC_PAGE_LIST));
      if (row >= 0) ShowProperties(row);
    } else if (id == IDC_PAGE_REMOVE) {
      RemoveSelected();
    } else {
      return ui::NotHandled();
    }
  } catch (const std::bad_alloc&) {
    // The command is dropped; the rows stay as they were.
  }
  return ui::Handled();
}

ui::MessageResult CBkQnFilesFolders::OnNotify(const NMHDR& header) {
  if (!m_pTreeManager) return ui::NotHandled();
  try {
    if (header.idFrom == IDC_PAGE_TREE) {
      const auto& notification = reinterpret_cast<const NMTREEVIEWA&>(header);
      switch (header.code) {
        case TVN_ITEMEXPANDEDA:
        case TVN_ITEMEXPANDEDW:
          m_pTreeManager->ExpandChildren(notification);
          return ui::Handled();
        case TVN_BEGINDRAGA:
        case TVN_BEGINDRAGW:
          m_treeCtrl.BeginDrag(notification);
          return ui::Handled();
        case NM_RCLICK:
          ShowTreeMenu();
          return ui::Handled(1);
        default:
          return ui::NotHandled();
      }
    }
    if (header.idFrom == IDC_PAGE_LIST) {
      switch (header.code) {
        case LVN_ITEMCHANGED:
          if (m_bLoading) return ui::Handled();
          GiveDefaults(reinterpret_cast<const NMLISTVIEW&>(header).iItem);
          UpdateControls();
          return ui::Handled();
        case LVN_INSERTITEM:
          // Not every insertion is followed by a reported change: Wine reports none, and a row
          // inserted inside a run of selected rows counts as selected already, so selecting it
          // reports nothing either. A row added without an entry gets its defaults here.
          GiveDefaults(reinterpret_cast<const NMLISTVIEW&>(header).iItem);
          return ui::Handled();
        case LVN_KEYDOWN:
          if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey != VK_DELETE) return ui::NotHandled();
          if (ui::ListSelectedCount(header.hwndFrom) > 0) {
            RemoveSelected();
          } else {
            MessageBeep(MB_ICONASTERISK);
          }
          return ui::Handled();
        case NM_DBLCLK:
          if (const int row = RowAtCursor(); row >= 0) ShowProperties(row);
          return ui::Handled();
        case NM_RCLICK:
          ShowListMenu();
          return ui::Handled(1);
        default:
          return ui::NotHandled();
      }
    }
  } catch (const std::bad_alloc&) {
    // Nothing half done stays: rows and entries are only added whole.
  }
  return ui::NotHandled();
}

void CBkQnFilesFolders::UpdateControls() {
  const int selected = ui::ListSelectedCount(Item(IDC_PAGE_LIST));
  EnableItem(IDC_PAGE_PROPERTIES, selected == 1);
  EnableCommand(m_hListMenu.get(), 0, MF_BYPOSITION, selected == 1);
  EnableItem(IDC_PAGE_REMOVE, selected >= 1);
}

void CBkQnFilesFolders::GiveDefaults(int row) {
  if (m_bLoading || row < 0) return;
  const HWND list = Item(IDC_PAGE_LIST);
  if (!ui::ListItemText(list, row, 1).empty()) return;
  const bool folder = IsDirectoryPath(ui::ListItemText(list, row, 0)) == PathKind::Directory;
  SetRowTexts(list, row, NewRowTexts(folder));
  // Reported as a further change of the row, which now has its texts.
  SetRowData(row, folder ? kNewFolderRow : kNewFileRow);
}

void CBkQnFilesFolders::Load() {
  m_bLoading = true;
  const BackupList stored = ReadBackupList(BackupListKey());
  m_pTreeManager->ClearRows();
  const HWND list = Item(IDC_PAGE_LIST);
  for (const BackupEntry& entry : stored) {
    if (const auto* folder = std::get_if<CFolderEntry>(&entry)) {
      m_vFolderEntries.push_back(*folder);
      const int row = m_pTreeManager->AddPath(folder->m_strPath, static_cast<int>(m_vFolderEntries.size() - 1));
      if (row >= 0) SetRowTexts(list, row, DescribeFolderRow(*folder));
    } else {
      const CFileEntry& file = std::get<CFileEntry>(entry);
      m_vFileEntries.push_back(file);
      const int row = m_pTreeManager->AddPath(file.m_strPath, static_cast<int>(m_vFileEntries.size() - 1));
      if (row >= 0) SetRowTexts(list, row, DescribeFileRow(file));
    }
  }
  UpdateControls();
  m_bLoading = false;
}

void CBkQnFilesFolders::Save() const {
  const HWND list = Item(IDC_PAGE_LIST);
  std::vector<std::string> texts;
  for (int row = 0; row < ui::ListRowCount(list); ++row) {
    const std::string path = ui::ListItemText(list, row, 0);
    const int data = RowData(row);
    std::string text;
    if (data == kNewFolderRow) {
      CFolderEntry entry;
      entry.m_strPath = path;
      text = FormatFolderEntry(entry);
    } else if (data == kNewFileRow) {
      CFileEntry entry;
      entry.m_strPath = path;
      text = FormatFileEntry(entry);
    } else {
      // A path gone from the disk is written empty, which the next load skips.
      const PathKind kind = IsDirectoryPath(path);
      const auto index = static_cast<size_t>(data);
      if (kind == PathKind::Directory && index < m_vFolderEntries.size()) {
        text = FormatFolderEntry(m_vFolderEntries[index]);
      } else if (kind == PathKind::File && index < m_vFileEntries.size()) {
        text = FormatFileEntry(m_vFileEntries[index]);
      }
    }
    texts.push_back(std::move(text));
  }
  SaveBackupListTexts(BackupListKey(), texts);
}

void CBkQnFilesFolders::ShowTreeMenu() {
  const HWND tree = m_treeCtrl.hwnd();
  TVHITTESTINFO hit{};
  GetCursorPos(&hit.pt);
  ScreenToClient(tree, &hit.pt);
  const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (!item || !(hit.flags & TVHT_ONITEM)) return;
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  const int node = m_pTreeManager->FindNodeByItem(item);
  if (node < 0) return;
  std::string path = m_pTreeManager->Node(node).m_strPath;
  if (!path.empty() && path.back() == '\\') path.pop_back();
  EnableCommand(m_hTreeMenu.get(), kAddToList, MF_BYCOMMAND,
                m_pTreeManager->Node(node).m_bFolder && m_pTreeManager->CanAddPath(path));
  switch (TrackAtCursor(m_hTreeMenu.get(), hwnd())) {
    case kAddToList:
      m_pTreeManager->AddPath(path, -1);
      UpdateControls();
      break;
    case kExplore:
      ShellExecuteA(hwnd(), "explore", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      break;
    default:
      break;
  }
}

void CBkQnFilesFolders::ShowListMenu() {
  const int row = RowAtCursor();
  if (row < 0 || ui::ListSelectedCount(Item(IDC_PAGE_LIST)) == 0) return;
  switch (TrackAtCursor(m_hListMenu.get(), hwnd())) {
    case kDelete:
      RemoveSelected();
      break;
    case kProperties:
      ShowProperties(row);
      break;
    default:
      break;
  }
}

void CBkQnFilesFolders::RemoveSelected() {
  const std::vector<std::string> paths = SelectedPaths();
  if (!paths.empty()) m_pTreeManager->RemovePaths(paths);
  UpdateControls();
}

void CBkQnFilesFolders::ShowProperties(int row) {
  const HWND list = Item(IDC_PAGE_LIST);
  if (ui::ListItemText(list, row, 2) != kFileRowExcludeText) {
    CFolderEntry& entry = FolderEntryFor(row);
    entry.m_strPath = ui::ListItemText(list, row, 0);
    if (CFolderPropertiesDialog(entry).Run() == 1) SetRowTexts(list, row, DescribeFolderRow(entry));
  } else {
    CFileEntry& entry = FileEntryFor(row);
    if (CFilePropertiesDialog(entry).Run() == 1) SetRowTexts(list, row, DescribeFileRow(entry));
  }
}

// A row's index that points past its table (it cannot, unless the list was changed behind the
// page's back) is taken as no entry.
CFolderEntry& CBkQnFilesFolders::FolderEntryFor(int row) {
  const int data = RowData(row);
  if (data != kNewFolderRow && data >= 0 && static_cast<size_t>(data) < m_vFolderEntries.size()) {
    return m_vFolderEntries[data];
  }
  m_vFolderEntries.emplace_back();
  SetRowData(row, static_cast<int>(m_vFolderEntries.size() - 1));
  return m_vFolderEntries.back();
}

CFileEntry& CBkQnFilesFolders::FileEntryFor(int row) {
  const int data = RowData(row);
  if (data != kNewFileRow && data >= 0 && static_cast<size_t>(data) < m_vFileEntries.size()) {
    return m_vFileEntries[data];
  }
  CFileEntry entry;
  entry.m_strPath = ui::ListItemText(Item(IDC_PAGE_LIST), row, 0);
  entry.m_nRule = -1;
  entry.m_nCount = -1;
  m_vFileEntries.push_back(std::move(entry));
  SetRowData(row, static_cast<int>(m_vFileEntries.size() - 1));
  return m_vFileEntries.back();
}

int CBkQnFilesFolders::RowData(int row) const {
  return static_cast<int>(ui::ListRowData(Item(IDC_PAGE_LIST), row, kNewFolderRow));
}

void CBkQnFilesFolders::SetRowData(int row, int data) { ui::SetListRowData(Item(IDC_PAGE_LIST), row, data); }

int CBkQnFilesFolders::RowAtCursor() const {
  const HWND list = Item(IDC_PAGE_LIST);
  LVHITTESTINFO hit{};
  GetCursorPos(&hit.pt);
  ScreenToClient(list, &hit.pt);
  return static_cast<int>(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

std::vector<std::string> CBkQnFilesFolders::SelectedPaths() const {
  const HWND list = Item(IDC_PAGE_LIST);
  std::vector<std::string> paths;
  for (int row = ui::ListNextSelected(list); row >= 0; row = ui::ListNextSelected(list, row)) {
    paths.push_back(ui::ListItemText(list, row, 0));
  }
  return paths;
}

HRESULT CreateBkQnFilesFolders(IUnknown* outer, REFIID iid, void** out) {
  return CreateComponent<CBkQnFilesFolders>(outer, iid, out);
}
