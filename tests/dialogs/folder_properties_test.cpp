// The folder dialog's mask lists: loading, the buttons' rules, add, edit, delete and clear,
// and what confirming and cancelling write.
#include <gtest/gtest.h>

#include <functional>

#include "dialogs/folder_properties_dialog.h"
#include "model/entry_text.h"
#include "tests/dialogs/dialog_test.h"
#include "tests/support/entries.h"

namespace {

using uitest::Click;

constexpr int kIncludeList = 233;
constexpr int kExcludeList = 234;
const std::vector<int> kIncludeButtons{225, 226, 227, 228};  // add, edit, delete, clear
const std::vector<int> kExcludeButtons{229, 230, 231, 232};

CFolderEntry Folder(const std::string& include, const std::string& exclude) {
  return FolderEntry("C:\\Data", include, exclude);
}

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
    EXPECT_EQ(uitest::ListColumn(dialog, kIncludeList, 0), c.includeRows);
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
        EXPECT_EQ(uitest::ListColumn(dialog, kIncludeList, 0), std::vector<std::string>{"*.zq1"});
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
        EXPECT_EQ(uitest::ListColumn(dialog, kExcludeList, 0), (std::vector<std::string>{"*.bak", "*.tmp"}));
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

// The questions: clearing asks first (deleting every row is clearing); Cancel after a change
// asks to save: Yes writes, No discards, Cancel stays in the dialog.
struct Question {
  const char* name;
  std::function<void(HWND)> act;
  int answer;         // 0: no question is expected
  const char* box;    // caption and text
  int result;
  CFolderEntry written;  // the entry afterwards
};

const char kClearBox[] = "Confirmation | Are you sure you want to clear the list? | OK Cancel | question | ";
const char kSaveBox[] = "Warning | Data was changed.\nDo you want to save your changes? | Yes No Cancel | question | ";
const CFolderEntry kBefore = Folder("*.doc|*.txt", "*.tmp");
CFolderEntry Written(const char* include, const char* exclude, uint8_t recursive) {
  CFolderEntry entry = Folder(include, exclude);
  entry.m_bRecursive = recursive;
  return entry;
}
void ClickAll(HWND dialog, std::vector<int> ids) {
  for (const int id : ids) Click(dialog, id);
}

const Question kQuestions[] = {
    {"DeleteAllIsClear", [](HWND d) { uitest::SelectListRows(d, kIncludeList, {0, 1}), ClickAll(d, {227, IDOK}); },
     IDOK, kClearBox, 1, Written("*.*", "*.tmp", 1)},
    {"ClearCancelled", [](HWND d) { ClickAll(d, {228, IDOK}); }, IDCANCEL, kClearBox, 2, kBefore},
    {"ExcludeClearEmpties", [](HWND d) { ClickAll(d, {232, IDOK}); }, IDOK, kClearBox, 1, Written("*.doc | *.txt", "", 1)},
    {"CancelYesSaves", [](HWND d) { ClickAll(d, {235, IDCANCEL}); }, IDYES, kSaveBox, 1, Written("*.doc | *.txt", "*.tmp", 0)},
    {"CancelNoDiscards", [](HWND d) { ClickAll(d, {235, IDCANCEL}); }, IDNO, kSaveBox, 2, kBefore},
    {"CancelCancelStays", [](HWND d) { ClickAll(d, {235, IDCANCEL, IDOK}); }, IDCANCEL, kSaveBox, 1,
     Written("*.doc | *.txt", "*.tmp", 0)},
    {"CancelUnchangedAsksNothing", [](HWND d) { ClickAll(d, {IDCANCEL}); }, 0, "", 2, kBefore},
};

class FolderQuestion : public testing::TestWithParam<Question> {};

TEST_P(FolderQuestion, IsAskedAndAnswered) {
  const Question& c = GetParam();
  CFolderEntry entry = kBefore;
  uitest::ModalDriver driver;
  driver.On(kFolderDialog, c.act);
  if (c.answer) driver.Answer(std::string(c.box).substr(0, std::string(c.box).find(' ')), c.answer);
  EXPECT_EQ(CFolderPropertiesDialog(entry).Run(), c.result);
  EXPECT_EQ(BoxesSeen(driver), c.answer ? std::vector<std::string>{c.box + std::string(kFolderDialog)}
                                        : std::vector<std::string>{});
  EXPECT_EQ(FormatFolderEntry(entry), FormatFolderEntry(c.written));
}

INSTANTIATE_TEST_SUITE_P(Answers, FolderQuestion, testing::ValuesIn(kQuestions),
                         [](const testing::TestParamInfo<Question>& info) { return info.param.name; });

}  // namespace
