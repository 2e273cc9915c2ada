#pragma once
// Small helpers for the common controls the dialogs and pages share: report list views,
// drop-down lists and date pickers, in the ANSI code page.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace ui {

// List views.
int ListRowCount(HWND list);
int ListSelectedCount(HWND list);
// The first selected row after `after` (-1: from the top); -1 when there is none.
int ListNextSelected(HWND list, int after = -1);
std::string ListItemText(HWND list, int row, int column = 0);
// One column's texts, from the first row to the last as the list shows them.
std::vector<std::string> ListColumnTexts(HWND list, int column = 0);
void SetListItemText(HWND list, int row, int column, const std::string& text);
// Inserts a row with its first column and image (-1: none); a sorted list places it in its
// order. Returns its index, -1 on failure.
int InsertListRow(HWND list, const std::string& text, int image);
void SetListRowImage(HWND list, int row, int image);
// A row's item data; `missing` when the row cannot be read.
LPARAM ListRowData(HWND list, int row, LPARAM missing);
void SetListRowData(HWND list, int row, LPARAM data);
// Adds LVIS_SELECTED (and LVIS_FOCUSED) to the row, leaving other rows alone, and scrolls it
// into view.
void SelectListRow(HWND list, int row, bool focus);
void AddListColumn(HWND list, int column, const std::string& title, int width);

// Drop-down lists.
void FillComboBox(HWND combo, const std::vector<std::string>& items);
// The selected item's index, -1 when none is.
int ComboSelection(HWND combo);
void SelectComboItem(HWND combo, int index);
std::string ComboItemText(HWND combo, int index);

// Date pickers.
SYSTEMTIME PickerTime(HWND picker);
void SetPickerTime(HWND picker, const SYSTEMTIME& time);

}  // namespace ui
