#include "restore_page/restore_control.h"

#include <iterator>
#include <new>

#include "backup_page/folder_tree_manager.h"
#include "model/settings_store.h"
#include "server/com_boundary.h"

namespace {

// Template 210 and its controls.
constexpr int kPageTemplate = 210;
constexpr int kDiskOrFolderRadio = 1014;
constexpr int kFolderTree = 208;
constexpr int kOriginalLocationRadio = 210;
constexpr int kOverwriteCheck = 215;

}  // namespace

const InterfaceEntry CRsQnFilesFolders::kInterfaces[] = {
    BKQN_INTERFACE(CRsQnFilesFolders, IBkQnAxRestore),
    BKQN_INTERFACE_VIA(CRsQnFilesFolders, IDispatch, IBkQnAxRestore),
    BKQN_CONTROL_FRAME_INTERFACES(CRsQnFilesFolders),
    {},
};

CRsQnFilesFolders::CRsQnFilesFolders(IUnknown* outer) : CComponent(outer, kInterfaces) {}

// The page goes while the tree's model still exists.
CRsQnFilesFolders::~CRsQnFilesFolders() { Destroy(); }

int CRsQnFilesFolders::PageTemplate() const { return kPageTemplate; }

STDMETHODIMP CRsQnFilesFolders::PersistSettings(VARIANT_BOOL bAction) {
  if (bAction != 1) return S_OK;
  return ComBoundary([&] {
    RestoreOptions options;
    if (!IsChecked(kOriginalLocationRadio) && m_pTreeManager) options.destination = m_pTreeManager->GetSelectedPath();
    options.overwrite = IsDlgButtonChecked(hwnd(), kOverwriteCheck) == BST_CHECKED ? 1 : 0;
    SaveRestoreOptions(RestoreOptionsKey(), options);
    return S_OK;
  });
}

// The page keeps no record of changes: the caller's value stays.
STDMETHODIMP CRsQnFilesFolders::SettingsChanged(VARIANT_BOOL*) { return S_OK; }

STDMETHODIMP CRsQnFilesFolders::Validate(VARIANT_BOOL* pfIsValid) {
  if (pfIsValid) *pfIsValid = VARIANT_TRUE;
  return S_OK;
}

bool CRsQnFilesFolders::OnInitDialog() {
  InPlaceActivate(OLEIVERB_UIACTIVATE);
  m_hTree = Item(kFolderTree);
  SetChecked(kOriginalLocationRadio, true);
  ShowWindow(m_hTree, SW_HIDE);
  SetChecked(kOverwriteCheck, false);
  PrepareIconLabels();
  try {
    m_pTreeManager = std::make_unique<FolderTreeManager>(m_hTree, nullptr, kPageDriveTypes,
                                                         static_cast<int>(std::size(kPageDriveTypes)), false);
  } catch (const std::bad_alloc&) {
    // A page without its tree still stores "Original location".
  }
  // The activation gave the page the focus.
  return false;
}

ui::MessageResult CRsQnFilesFolders::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return ui::NotHandled();
  if (id == kOriginalLocationRadio) {
    ShowWindow(m_hTree, SW_HIDE);
    // What the tree covered is the container's again.
    const HWND container = GetParent(hwnd());
    InvalidateRect(container, nullptr, TRUE);
    UpdateWindow(container);
    return ui::Handled();
  }
  if (id == kDiskOrFolderRadio) {
    ShowWindow(m_hTree, SW_SHOW);
    return ui::Handled();
  }
  return ui::NotHandled();
}

ui::MessageResult CRsQnFilesFolders::OnNotify(const NMHDR& header) {
  if (header.idFrom != kFolderTree || !m_pTreeManager) return ui::NotHandled();
  const auto& notification = reinterpret_cast<const NMTREEVIEWA&>(header);
  try {
    if (header.code == TVN_ITEMEXPANDEDA) {
      m_pTreeManager->ExpandChildren(notification);
    } else if (header.code == TVN_SELCHANGEDA) {
      m_pTreeManager->SelectNode(notification);
    } else {
      return ui::NotHandled();
    }
  } catch (const std::bad_alloc&) {
    // Folders that could not be listed stay unlisted.
  }
  return ui::Handled();
}

ui::MessageResult CRsQnFilesFolders::OnPageMessage(UINT message, WPARAM, LPARAM) {
  if (message == WM_DESTROY) {
    m_pTreeManager.reset();
    m_hTree = nullptr;
  }
  return ui::NotHandled();
}

HRESULT CreateRsQnFilesFolders(IUnknown* outer, REFIID iid, void** out) {
  return CreateComponent<CRsQnFilesFolders>(outer, iid, out);
}
