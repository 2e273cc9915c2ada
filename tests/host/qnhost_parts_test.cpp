// The substitute host's own pieces: its command line, archive index and object options, and
// the progress line.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "engine/restore_target.h"
#include "host/archive_index.h"
#include "host/command_line.h"
#include "host/object_options.h"
#include "host/progress_bar.h"
#include "model/date_rule.h"

namespace {

TEST(CommandLineTest, TakesEveryOptionOfAdd) {
  std::string error;
  const std::optional<Command> command =
      ParseCommandLine({"add", "C:\\Data", "--include", "doc|*.txt", "--exclude", "*.tmp", "--no-recurse", "--rule",
                        "last-weeks", "2", "--exclude-rule", "before", "2003-05-17"},
                       error);
  ASSERT_TRUE(command) << error;
  EXPECT_EQ(command->verb, Verb::kAdd);
  EXPECT_EQ(command->path, "C:\\Data");
  EXPECT_EQ(command->include, "doc|*.txt");
  EXPECT_EQ(command->exclude, "*.tmp");
  EXPECT_TRUE(command->noRecurse);
  ASSERT_TRUE(command->rule && command->excludeRule && command->excludeRule->date);
  EXPECT_EQ(std::tie(command->rule->kind, command->rule->count), std::make_tuple(RULE_LAST_WEEKS, 2));
  const platform::CivilDate& date = *command->excludeRule->date;
  EXPECT_EQ(std::tie(command->excludeRule->kind, date.year, date.month, date.day),
            std::make_tuple(RULE_BEFORE, 2003, 5, 17));
}

TEST(CommandLineTest, TakesRestoreOptions) {
  std::string error;
  const std::optional<Command> command = ParseCommandLine({"restore", "A", "--overwrite", "--to", "D:\\R"}, error);
  ASSERT_TRUE(command) << error;
  EXPECT_EQ(command->verb, Verb::kRestore);
  EXPECT_EQ(command->destination, "D:\\R");
  EXPECT_TRUE(command->overwrite);
}

struct RefusedLine {
  std::vector<std::string> args;
  const char* reason;
};

class RefusedCommandLineTest : public testing::TestWithParam<RefusedLine> {};

TEST_P(RefusedCommandLineTest, SaysWhy) {
  std::string error;
  EXPECT_FALSE(ParseCommandLine(GetParam().args, error));
  EXPECT_NE(error.find(GetParam().reason), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RefusedCommandLineTest,
    testing::Values(RefusedLine{{"frobnicate"}, "unknown command"}, RefusedLine{{"add"}, "needs a path"},
                    RefusedLine{{"backup", "--overwrite"}, "needs a path"},
                    RefusedLine{{"add", "x", "--rule"}, "rule is missing"},
                    RefusedLine{{"add", "x", "--rule", "last-days"}, "needs a number"},
                    RefusedLine{{"add", "x", "--rule", "last-days", "0"}, "not a number"},
                    RefusedLine{{"add", "x", "--rule", "after", "2003-02-29"}, "not a date"},
                    RefusedLine{{"add", "x", "--rule", "after", "1969-12-31"}, "not a date"},
                    RefusedLine{{"add", "x", "--rule", "sometimes"}, "unknown rule"},
                    RefusedLine{{"add", "x", "--include"}, "needs a value"},
                    RefusedLine{{"restore", "a", "--to"}, "needs a value"},
                    RefusedLine{{"restore", "a", "--include", "*.x"}, "unexpected"},
                    RefusedLine{{"backup", "a", "--overwrite"}, "unexpected"}));

std::vector<ArchiveObject> SomeObjects() {
  return {{"{CLIENT}", 0, "C:\\a\\report.doc", 1, MakeObjectOptions({12, 34, 0x20}, "report.doc"), "files\\00000001"},
          {"{OTHER}", 1, "HKEY_CURRENT_USER\\x", -3, {0, 1, 2, 0, 255}, ""}};
}

bool SameObjects(const std::vector<ArchiveObject>& a, const std::vector<ArchiveObject>& b) {
  const auto fields = [](const ArchiveObject& o) {
    return std::tie(o.client, o.type, o.name, o.weight, o.options, o.copy);
  };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](const ArchiveObject& x, const ArchiveObject& y) { return fields(x) == fields(y); });
}

TEST(ArchiveIndexTest, ReadsBackWhatWasWritten) {
  const std::optional<std::vector<ArchiveObject>> read = DecodeIndex(EncodeIndex(SomeObjects()));
  ASSERT_TRUE(read);
  EXPECT_TRUE(SameObjects(*read, SomeObjects()));
}

TEST(ArchiveIndexTest, ACutIndexGivesAWholeFirstPartOrNothing) {
  const std::vector<ArchiveObject> objects = SomeObjects();
  const std::string bytes = EncodeIndex(objects);
  for (size_t size = 0; size < bytes.size(); ++size) {
    const std::optional<std::vector<ArchiveObject>> read = DecodeIndex(bytes.substr(0, size));
    if (!read) continue;
    ASSERT_LT(read->size(), objects.size()) << size;
    EXPECT_TRUE(SameObjects(*read, {objects.begin(), objects.begin() + static_cast<ptrdiff_t>(read->size())})) << size;
  }
}

TEST(ArchiveIndexTest, RefusesForeignAndOversizedData) {
  std::string bytes = EncodeIndex(SomeObjects());
  std::string otherVersion = bytes;
  otherVersion[8] = 2;
  EXPECT_FALSE(DecodeIndex(otherVersion));
  EXPECT_FALSE(DecodeIndex("NOTANIDX" + bytes.substr(8)));
  // The first object's client text claiming 4 GB.
  bytes.replace(12, 4, "\xff\xff\xff\xff");
  EXPECT_FALSE(DecodeIndex(bytes));
}

TEST(ObjectOptionsTest, HeaderThenTheNameTheModuleReads) {
  const FileFacts facts{0x123456789, 0x01D0000000000001, 0x21};
  const std::vector<uint8_t> options = MakeObjectOptions(facts, "report.doc");
  EXPECT_EQ(options.size(), kObjectHeaderSize + 11);
  EXPECT_EQ(ReadObjectName(options), "report.doc");
  EXPECT_EQ(ReadLocalName(options), "report.doc");
  const std::optional<FileFacts> read = ReadObjectFacts(options);
  ASSERT_TRUE(read);
  EXPECT_EQ(std::tie(read->size, read->lastWrite, read->attributes),
            std::tie(facts.size, facts.lastWrite, facts.attributes));
  EXPECT_FALSE(ReadObjectFacts(std::vector<uint8_t>(kObjectHeaderSize, 0)));
}

TEST(ProgressLineTest, FillsByWeightAndKeepsTheEndOfLongNames) {
  EXPECT_EQ(RenderProgress(0, 10, "", 79), "[" + std::string(30, '-') + "]   0%  0/10");
  EXPECT_EQ(RenderProgress(5, 10, "", 79), "[" + std::string(15, '#') + std::string(15, '-') + "]  50%  5/10");
  EXPECT_EQ(RenderProgress(0, 0, "", 79).substr(0, 37), "[" + std::string(30, '#') + "] 100%");
  const std::string line = RenderProgress(3, 4, "C:\\" + std::string(200, 'x') + "\\end.txt", 79);
  EXPECT_EQ(line.size(), 79u);
  EXPECT_EQ(line.substr(line.size() - 8), "\\end.txt");
}

}  // namespace
