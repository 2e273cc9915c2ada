// Under Wine: loading a stored backup list of 2,000 entries (1,000 folders, 1,000 files) into
// the backup page, PersistSettings(0) of the registered module in a real container, against
// what it cannot avoid, measured in the same run: inserting the same 2,000 rows with their
// three texts, in the same order, into a bare report list view of the same size. Runs
// alternate; prints wall-clock medians and their ratio. The stored list the prefix had is put
// back afterwards.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bench/wine_bench.h"
#include "bkqnfiles.h"
#include "dialogs/rule_text.h"
#include "host/control_container.h"
#include "model/backup_page_rules.h"
#include "model/entry_text.h"
#include "model/settings_store.h"
#include "registry/registry_store.h"

namespace {

constexpr int kEntries = 2000;

struct Row {
  std::string path, include, exclude;
};

// The folder's entries, made on disk where missing, with their stored texts and their rows
// in the list's order.
std::vector<std::pair<std::string, Row>> MakeEntries(const std::string& folder) {
  std::vector<std::pair<std::string, Row>> entries;
  CreateDirectoryA(folder.c_str(), nullptr);
  for (int i = 0; i < kEntries / 2; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "d%04d", i);
    CFolderEntry dir;
    dir.m_strPath = folder + name;
    dir.m_strExcludeMasks = "*.tmp | *.bak";
    CreateDirectoryA(dir.m_strPath.c_str(), nullptr);
    const RowTexts dirTexts = DescribeFolderRow(dir);
    entries.push_back({FormatFolderEntry(dir), {dir.m_strPath, dirTexts.include, dirTexts.exclude}});

    std::snprintf(name, sizeof name, "f%04d.txt", i);
    CFileEntry file{folder + name, RULE_LAST_WEEKS, 2, 0};
    const HANDLE made = CreateFileA(file.m_strPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (made != INVALID_HANDLE_VALUE) CloseHandle(made);
    const RowTexts fileTexts = DescribeFileRow(file);
    entries.push_back({FormatFileEntry(file), {file.m_strPath, fileTexts.include, fileTexts.exclude}});
  }
  return entries;
}

void SetText(HWND list, int row, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

// The page's list without the page: the same size, style and columns, in a window of its own.
double BareInsertion(const std::vector<Row>& rows, const RECT& size) {
  const HWND frame = CreateWindowExA(0, WC_STATICA, "bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     size.right + 40, size.bottom + 60, nullptr, nullptr, nullptr, nullptr);
  const HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS,
                                    0, 0, size.right, size.bottom, frame, nullptr, nullptr, nullptr);
  ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  const char* titles[] = {"Path", "Include Mask", "Exclude Mask"};
  const int widths[] = {150, 85, 85};
  for (int c = 0; c < 3; ++c) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.pszText = const_cast<char*>(titles[c]);
    column.cx = widths[c];
    SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
  }
  const double seconds = Seconds([&] {
    for (size_t i = 0; i < rows.size(); ++i) {
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(i);
      item.pszText = const_cast<char*>(rows[i].path.c_str());
      const int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
      SetText(list, row, 1, rows[i].include);
      SetText(list, row, 2, rows[i].exclude);
    }
    UpdateWindow(list);
  });
  DestroyWindow(frame);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder;
  int runs = 0;
  if (!ReadFolderAndRuns(argc, argv, "wine_page_bench FOLDER [RUNS]", folder, runs)) return 2;
  // The page's list takes drops, which needs OLE on the thread.
  if (FAILED(OleInitialize(nullptr))) return 1;
  ui::EnsureCommonControls();

  const CRegistryStore store;
  const std::string key = BackupListKey();
  std::vector<std::pair<std::string, std::string>> kept;
  for (uint32_t i = 0, count = store.EnumValue(key); i < count; ++i) {
    std::string name;
    store.EnumValue(key, static_cast<int32_t>(i), &name);
    kept.emplace_back(name, store.ReadString(key, name));
  }
  const auto entries = MakeEntries(folder);
  store.ClearValues(key);
  std::vector<Row> rows;
  for (size_t i = 0; i < entries.size(); ++i) {
    store.WriteString(key, "file" + std::to_string(i), entries[i].first);
    rows.push_back(entries[i].second);
  }
  // In the list's order, that of the upper-cased paths.
  std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return RowKey(a.path) < RowKey(b.path); });

  std::vector<double> loads, bare, ratios;
  int shown = 0;
  for (int run = 0; run <= runs; ++run) {  // the first round only warms the caches
    CControlContainer container;
    if (FAILED(container.Open(CLSID_BkQnFilesFolders, "bench"))) {
      std::fprintf(stderr, "wine_page_bench: the backup page cannot be shown (is the module registered?)\n");
      return 1;
    }
    const double load = Seconds([&] {
      container.LoadSettings();
      UpdateWindow(container.hwnd());
    });
    const HWND list = GetDlgItem(container.PageWindow(), 206);
    shown = ListView_GetItemCount(list);
    RECT size;
    GetClientRect(list, &size);
    container.CloseControl();
    const double insertion = BareInsertion(rows, size);
    if (run > 0) {
      loads.push_back(load);
      bare.push_back(insertion);
      ratios.push_back(load / insertion);
    }
  }

  store.ClearValues(key);
  for (const auto& [name, text] : kept) store.WriteString(key, name, text);
  std::printf("stored list: %d entries (%d folders, %d files); the page shows %d rows\n", kEntries, kEntries / 2,
              kEntries / 2, shown);
  std::printf("bare list view, 2,000 rows of three texts: median %.3f s over %d runs\n", Median(bare), runs);
  std::printf("PersistSettings(0) into the page:          median %.3f s over %d runs\n", Median(loads), runs);
  std::printf("loading: %.2fx the bare insertion (median of the rounds' ratios %.2fx)\n", Median(loads) / Median(bare),
              Median(ratios));
  OleUninitialize();
  return shown == kEntries ? 0 : 1;
}
