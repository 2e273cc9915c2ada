// The mask input box as the folder dialog runs it: captions, refusals with their messages,
// the normal form, and the question on cancelling.
#include <gtest/gtest.h>

#include "dialogs/folder_properties_dialog.h"
#include "tests/dialogs/dialog_test.h"

namespace {

using uitest::Click;

constexpr int kField = 257;

// Arms the folder dialog's step: click `button` (selecting the list's first row to edit),
// then confirm. The input box's steps are armed after it.
uitest::ModalDriver& ClickInFolder(uitest::ModalDriver& driver, int button) {
  return driver.On(kFolderDialog, [button](HWND dialog) {
    if (button == 226) uitest::SelectListRows(dialog, 233, {0});
    if (button == 230) uitest::SelectListRows(dialog, 234, {0});
    Click(dialog, button);
    Click(dialog, IDOK);
  });
}

// The folder dialog on an include list of *.doc and an exclude list of *.bak and *.tmp.
int RunFolder(CFolderEntry& entry) {
  entry.m_strPath = "C:\\Data";
  entry.m_strIncludeMasks = "*.doc";
  entry.m_strExcludeMasks = "*.tmp | *.bak";
  return CFolderPropertiesDialog(entry).Run();
}

struct Refusal {
  const char* name;
  int button;
  const char* caption;
  std::string typed;  // empty: nothing typed
  const char* message;
  std::string shown;  // the field's text after the refusal
};

const std::string kTooLong = "*." + std::string(258, 'x');  // "C:\" + it is longer than a path may be

const Refusal kRefusals[] = {
    {"Empty", 225, "Input Box: Include mask", "", "The value cannot be empty.", ""},
    {"AllInclude", 225, "Input Box: Include mask", "*.*", "The mask *.* is not allowed.", "*.*"},
    {"Bar", 230, "Edit Box: Exclude mask", "*.a|b", "Invalid mask.", "*.a|b"},
    {"TooLongForTheSystem", 229, "Input Box: Exclude mask", kTooLong, "Invalid mask.", kTooLong},
    {"DuplicateInAnyCase", 225, "Input Box: Include mask", "DOC", "Mask already exist.", "*.DOC"},
    {"DuplicateOfAnotherRow", 230, "Edit Box: Exclude mask", "*.TMP", "Mask already exist.", "*.TMP"},
};

class RefusedMask : public testing::TestWithParam<Refusal> {};

// The box stays open after its message; cancelling then asks nothing, since the text would
// be refused anyway.
TEST_P(RefusedMask, IsExplainedAndKeepsTheBoxOpen) {
  const Refusal& c = GetParam();
  uitest::ModalDriver driver;
  ClickInFolder(driver, c.button)
      .On(c.caption, [&](HWND box) {
          if (!c.typed.empty()) uitest::Type(box, kField, c.typed);
          Click(box, IDOK);
        })
      .Answer("Error", IDOK)
      .On(c.caption, [&](HWND box) {
        EXPECT_EQ(uitest::Text(box, kField), c.shown);
        Click(box, IDCANCEL);
      });
  CFolderEntry entry;
  EXPECT_EQ(RunFolder(entry), 2);
  EXPECT_EQ(BoxesSeen(driver), std::vector<std::string>{"Error | " + std::string(c.message) + " | OK | exclamation | " + c.caption});
}

INSTANTIATE_TEST_SUITE_P(Masks, RefusedMask, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<Refusal>& info) { return info.param.name; });

struct Acceptance {
  const char* name;
  int button;
  const char* caption;
  std::vector<std::string> typed;  // one after the other
  int result;
  const char* include;
  const char* exclude;
};

const Acceptance kAcceptances[] = {
    {"NormalForm", 225, "Input Box: Include mask", {"txt"}, 1, "*.doc | *.txt", "*.bak | *.tmp"},
    {"SameMaskInTheOtherList", 229, "Input Box: Exclude mask", {"*.DOC"}, 1, "*.doc", "*.bak | *.DOC | *.tmp"},
    {"EditedRowKeepsItsText", 226, "Edit Box: Include mask", {"*.do", "*.doc"}, 1, "*.doc", "*.bak | *.tmp"},
    {"EditReplacesTheRow", 230, "Edit Box: Exclude mask", {"old"}, 1, "*.doc", "*.old | *.tmp"},
    // OK on the text as it came: nothing is returned and the folder dialog saw no change.
    {"EditUnchanged", 226, "Edit Box: Include mask", {}, 2, "*.doc", "*.tmp | *.bak"},
};

class AcceptedMask : public testing::TestWithParam<Acceptance> {};

TEST_P(AcceptedMask, EntersTheList) {
  const Acceptance& c = GetParam();
  const bool editing = c.button == 226 || c.button == 230;
  uitest::ModalDriver driver;
  ClickInFolder(driver, c.button).On(c.caption, [&](HWND box) {
    EXPECT_EQ(uitest::Text(box, 258), editing ? "Edit mask" : "Enter mask");
    EXPECT_EQ(uitest::Text(box, kField), editing ? (c.button == 226 ? "*.doc" : "*.bak") : "");
    EXPECT_EQ(SendDlgItemMessageA(box, kField, EM_GETLIMITTEXT, 0, 0), 260);
    char owner[64] = {};
    GetWindowTextA(GetWindow(box, GW_OWNER), owner, sizeof owner);
    EXPECT_STREQ(owner, kFolderDialog);
    for (const std::string& text : c.typed) uitest::Type(box, kField, text);
    Click(box, IDOK);
  });
  CFolderEntry entry;
  EXPECT_EQ(RunFolder(entry), c.result);
  EXPECT_TRUE(driver.Boxes().empty());
  EXPECT_EQ(entry.m_strIncludeMasks, c.include);
  EXPECT_EQ(entry.m_strExcludeMasks, c.exclude);
}

INSTANTIATE_TEST_SUITE_P(Masks, AcceptedMask, testing::ValuesIn(kAcceptances),
                         [](const testing::TestParamInfo<Acceptance>& info) { return info.param.name; });

// Cancelling a text the validator takes asks; Yes accepts it, No drops it, Cancel stays.
class CancelInput : public testing::TestWithParam<int> {};

TEST_P(CancelInput, AsksToSave) {
  const int answer = GetParam();
  const char* caption = "Input Box: Include mask";
  uitest::ModalDriver driver;
  ClickInFolder(driver, 225)
      .On(caption, [&](HWND box) {
          uitest::Type(box, kField, "zq5");
          Click(box, IDCANCEL);
          if (answer == IDCANCEL) Click(box, IDOK);
        })
      .Answer("Warning", answer);
  CFolderEntry entry;
  EXPECT_EQ(RunFolder(entry), answer == IDNO ? 2 : 1);
  EXPECT_EQ(entry.m_strIncludeMasks, answer == IDNO ? "*.doc" : "*.doc | *.zq5");
  EXPECT_EQ(BoxesSeen(driver), std::vector<std::string>{"Warning | Data was changed.\nDo you want to save your changes? | Yes No Cancel | question | " + std::string(caption)});
}

INSTANTIATE_TEST_SUITE_P(Answers, CancelInput, testing::Values(IDYES, IDNO, IDCANCEL));

}  // namespace
