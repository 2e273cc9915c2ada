// The folder dialog's mask lists: loading, the buttons' rules, add, edit, delete and clear,
// and what confirming and cancelling write.
#include <gtest/gtest.h>

#include <functional>

#include "dialogs/folder_properties_dialog.h"
#include "model/entry_text.h"
#include "tests/dialogs/dialog_test.h"

namespace {

using uitest::Click;

constexpr int kIncludeList = 233;
constexpr int kExcludeList = 234;
const std::vector<int> kIncludeButtons{225, 226, 227, 228};  // add, edit, delete, clear
const std::vector<int> kExcludeButtons{229, 230, 231, 232};

CFolderEntry Folder(const std::string& include, const std::string& exclude) {
  CFolderEntry entry;
  entry.m_strPath = "C:\\Data";
  entry.m_strIncludeMasks = include;
  entry.m_strExcludeMasks = exclude;
  return entry;
}

std::vector<std::string> Rows(HWND dialog, int list) { return uitest::ListColumn(dialog, list, 0); }

struct Buttons {
  const char* name;
  const char* include;
  const char* exclude;
  std::vector<int> selectInclude, selectExclude;  // {-1}: as loaded (every row added is selected)
  std::vector<std::string> includeRows;
  std::vector<int> includeEnabled, excludeEnabled;
};

const Buttons kButtons[] = {
    {"Defaults", "*.*", "", {-1}, {-1}, {"*.*"}, {225}, {229}},
    // Rows are added selected; invalid masks and duplicates are left out, "txt" comes in normal form.
    {"LoadedSelected", "*.doc|a:b|*.DOC|txt", "*.*", {-1}, {-1}, {"*.doc", "*.txt"}, {225, 227, 228}, {229, 230, 231, 232}},
    {"OneSelected", "*.doc | *.txt", "*.tmp", {1}, {}, {"*.doc", "*.txt"}, {225, 226, 227, 228}, {229, 232}},
    {"LoneAllAfterOthers", "*.doc | *.*", "", {0}, {-1}, {"*.*", "*.doc"}, {225, 226, 227, 228}, {229}},
};

class MaskButtons : public testing::TestWithParam<Buttons> {};

// Selecting rows is no change: confirming afterwards writes nothing.
TEST_P(MaskButtons, FollowTheRowsAndTheSelection) {
  const Buttons& c = GetParam();
  CFolderEntry entry = Folder(c.include, c.exclude);
  const std::string before = FormatFolderEntry(entry);
  uitest::ModalDriver driver;
  driver.On(kFolderDialog, [&](HWND dialog) {
    if (c.selectInclude != std::vector<int>{-1}) uitest::SelectListRows(dialog, kIncludeList, c.selectInclude);
    if (c.selectExclude != std::vector<int>{-1}) uitest::SelectListRows(dialog, kExcludeList, c.selectExclude);
    EXPECT_EQ(Rows(dialog, kIncludeList), c.includeRows);
    EXPECT_EQ(EnabledOf(dialog, kIncludeButtons), c.includeEnabled) << uitest::DescribeControls(dialog, kIncludeButtons);
    EXPECT_EQ(EnabledOf(dialog, kExcludeButtons), c.excludeEnabled) << uitest::DescribeControls(dialog, kExcludeButtons);
    // The lone "*.*" cannot be edited by a double click either: no edit box comes.
    if (c.includeRows == std::vector<std::string>{"*.*"}) uitest::DoubleClickListRow(dialog, kIncludeList, 0);
    Click(dialog, IDOK);
  });
  EXPECT_EQ(CFolderPropertiesDialog(entry).Run(), 2);
  EXPECT_EQ(FormatFolderEntry(entry), before);
}

INSTANTIATE_TEST_SUITE_P(Lists, MaskButtons, testing::ValuesIn(kButtons),
                         [](const testing::TestParamInfo<Buttons>& info) { return info.param.name; });

// Types `text` into the input box and presses OK.
std::function<void(HWND)> Enter(const std::string& text) {
  return [text](HWND box) {
    uitest::Type(box, 257, text);
    Click(box, IDOK);
  };
}

// A file of the icon lookup's own name, made by the test with 4 bytes and an old time.
struct ExistingFile {
  const char* path;
  const FILETIME written = {0x12345678, 0x01c00000};  // 1994
  explicit ExistingFile(const char* name) : path(name) {
    const HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD done = 0;
    EXPECT_TRUE(WriteFile(file, "keep", 4, &done, nullptr) && SetFileTime(file, nullptr, nullptr, &written)) << path;
    CloseHandle(file);
  }
  ~ExistingFile() { DeleteFileA(path); }
  std::string State() const {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return "missing";
    return std::to_string(data.nFileSizeLow) + " bytes, time " +
           (CompareFileTime(&data.ftLastWriteTime, &written) == 0 ? "kept" : "changed");
  }
};

TEST(FolderMasks, AddEditAndDeleteRewriteTheLists) {
  const ExistingFile dummy("C:\\dummyFile.zq1");
  CFolderEntry entry = Folder("*.*", "");
  uitest::ModalDriver driver;
  driver.On(kFolderDialog, [](HWND dialog) {
        Click(dialog, 225);  // add "zq1" over the lone "*.*"
        EXPECT_EQ(Rows(dialog, kIncludeList), std::vector<std::string>{"*.zq1"});
        EXPECT_EQ(uitest::ListColumn(dialog, kIncludeList, 1), std::vector<std::string>{"ZQ1 File"});
        LVITEMA row = {};
        row.mask = LVIF_IMAGE;
        SendDlgItemMessageA(dialog, kIncludeList, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&row));
        EXPECT_GE(row.iImage, 0) << "the row has no icon";
        EXPECT_EQ(uitest::SelectedListRows(dialog, kIncludeList), std::vector<int>{0});
        uitest::DoubleClickListRow(dialog, kIncludeList, 0);  // edit it into "*.zq2"
        EXPECT_EQ(uitest::ListColumn(dialog, kIncludeList, 1), std::vector<std::string>{"ZQ2 File"});
        Click(dialog, 229);
        Click(dialog, 229);
        EXPECT_EQ(Rows(dialog, kExcludeList), (std::vector<std::string>{"*.bak", "*.tmp"}));
        uitest::SelectListRows(dialog, kExcludeList, {0});
        Click(dialog, 231);  // some rows: deleted without a question
        Click(dialog, IDOK);
      })
      .On("Input Box: Include mask", Enter("zq1"))
      .On("Edit Box: Include mask", Enter("*.zq2"))
      .On("Input Box: Exclude mask", Enter("tmp"))
      .On("Input Box: Exclude mask", Enter("*.bak"));
  EXPECT_EQ(CFolderPropertiesDialog(entry).Run(), 1);
  EXPECT_EQ(entry.m_strIncludeMasks, "*.zq2");
  EXPECT_EQ(entry.m_strExcludeMasks, "*.tmp");
  EXPECT_TRUE(driver.Boxes().empty());
  EXPECT_EQ(dummy.State(), "4 bytes, time kept");  // the icon lookup leaves it alone
}

// Clearing asks first; deleting every row is clearing.
struct Clearing {
  const char* name;
  int list;
  std::function<void(HWND)> act;
  int answer;
  const char* written;  // the list's stored text afterwards; null: the dialog ends with 2
};

const Clearing kClearings[] = {
    {"IncludeDeleteAllKeepsAll", kIncludeList,
     [](HWND dialog) {
       uitest::SelectListRows(dialog, kIncludeList, {0, 1});
       Click(dialog, 227);
     },
     IDOK, "*.*"},
    {"IncludeClearCancelled", kIncludeList, [](HWND dialog) { Click(dialog, 228); }, IDCANCEL, nullptr},
    {"ExcludeClearEmpties", kExcludeList, [](HWND dialog) { Click(dialog, 232); }, IDOK, ""},
};

class ClearList : public testing::TestWithParam<Clearing> {};

TEST_P(ClearList, AsksForConfirmation) {
  const Clearing& c = GetParam();
  CFolderEntry entry = Folder("*.doc|*.txt", "*.tmp");
  const std::string before = FormatFolderEntry(entry);
  uitest::ModalDriver driver;
  driver.On(kFolderDialog, [&](HWND dialog) {
          c.act(dialog);
          Click(dialog, IDOK);
        })
      .Answer("Confirmation", c.answer);
  const int result = CFolderPropertiesDialog(entry).Run();
  EXPECT_EQ(BoxesSeen(driver), std::vector<std::string>{std::string("Confirmation | Are you sure you want to clear the "
                                                                   "list? | OK Cancel | question | ") + kFolderDialog});
  if (!c.written) {
    EXPECT_EQ(result, 2);
    EXPECT_EQ(FormatFolderEntry(entry), before);
    return;
  }
  EXPECT_EQ(result, 1);
  EXPECT_EQ(c.list == kIncludeList ? entry.m_strIncludeMasks : entry.m_strExcludeMasks, c.written);
}

INSTANTIATE_TEST_SUITE_P(Lists, ClearList, testing::ValuesIn(kClearings),
                         [](const testing::TestParamInfo<Clearing>& info) { return info.param.name; });

// Cancel after a change asks; Yes writes, No discards, Cancel stays in the dialog.
class CancelFolder : public testing::TestWithParam<int> {};

TEST_P(CancelFolder, AsksToSave) {
  const int answer = GetParam();
  CFolderEntry entry = Folder("*.doc|*.txt", "");
  const std::string before = FormatFolderEntry(entry);
  uitest::ModalDriver driver;
  driver.On(kFolderDialog, [&](HWND dialog) {
          Click(dialog, 235);
          Click(dialog, IDCANCEL);
          if (answer == IDCANCEL) Click(dialog, IDOK);
        })
      .Answer("Warning", answer);
  const int result = CFolderPropertiesDialog(entry).Run();
  EXPECT_EQ(BoxesSeen(driver), std::vector<std::string>{kSaveQuestion + std::string(kFolderDialog)});
  if (answer == IDNO) {
    EXPECT_EQ(result, 2);
    EXPECT_EQ(FormatFolderEntry(entry), before);
    return;
  }
  EXPECT_EQ(result, 1);
  EXPECT_EQ(entry.m_bRecursive, 0);
  EXPECT_EQ(entry.m_strIncludeMasks, "*.doc | *.txt");
}

INSTANTIATE_TEST_SUITE_P(Answers, CancelFolder, testing::Values(IDYES, IDNO, IDCANCEL));

TEST(CancelFolder, WithoutAChangeClosesAtOnce) {
  CFolderEntry entry = Folder("*.doc", "*.tmp");
  uitest::ModalDriver driver;
  driver.On(kFolderDialog, [](HWND dialog) { Click(dialog, IDCANCEL); });
  EXPECT_EQ(CFolderPropertiesDialog(entry).Run(), 2);
  EXPECT_TRUE(driver.Boxes().empty());
}

}  // namespace
