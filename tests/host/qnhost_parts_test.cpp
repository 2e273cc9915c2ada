// The substitute host's own pieces: its command line, archive index and sizes.
#include <gtest/gtest.h>

#include <tuple>

#include "host/archive_index.h"
#include "host/command_line.h"
#include "host/size_text.h"
#include "model/date_rule.h"

namespace {

// Options and the path in any order; "--" ends the options.
TEST(CommandLineTest, TakesOptionsInAnyOrder) {
  const Command add = ParseCommandLine({"add", "--rule", "last-weeks", "2", "C:\\Data", "--exclude-rule", "before",
                                        "2003-05-17", "--no-recurse"});
  ASSERT_TRUE(add.error.empty() && add.rule && add.excludeRule && add.excludeRule->date) << add.error;
  EXPECT_EQ(std::make_tuple(add.path, add.noRecurse, add.rule->kind, add.rule->count, add.excludeRule->date->day),
            std::make_tuple("C:\\Data", true, RULE_LAST_WEEKS, 2, 17));
  const Command restore = ParseCommandLine({"restore", "--overwrite", "--to", "D:\\R", "--", "--help"});
  EXPECT_EQ(std::make_tuple(restore.error, restore.path, restore.destination.value_or(""), restore.overwrite),
            std::make_tuple("", "--help", "D:\\R", true));
  EXPECT_EQ(ParseCommandLine({"backup", "A", "-h"}).helpAbout, Verb::kBackup);
}

TEST(CommandLineTest, RefusesWithTheReason) {
  const std::pair<std::vector<std::string>, const char*> kRefused[] = {
      {{"add"}, "add: needs a path"},
      {{"add", "x", "--include", "a", "--include", "b"}, "add: --include is given twice"},
      {{"add", "x", "--include"}, "add: --include needs a value"},
      {{"add", "x", "--rule", "after", "2003-02-29"}, "add: \"2003-02-29\" is not a date (YYYY-MM-DD, 1970 to 2037)"},
      {{"clear", "--dry-run"}, "clear: unknown option \"--dry-run\""},
      {{"backup", "A", "--dry-run"}, "backup: a dry run takes no archive folder"},
      {{"backup", "A", "--human"}, "backup: --human goes with --dry-run"},
  };
  for (const auto& [args, error] : kRefused) EXPECT_EQ(ParseCommandLine(args).error, error);
}

TEST(SizeTextTest, BytesOrOneDecimalOf1024s) {
  const std::pair<uint64_t, const char*> kSizes[] = {
      {1023, "1023 B"}, {1024, "1.0 KiB"}, {1048524, "1023.9 KiB"}, {1048525, "1.0 MiB"}, {UINT64_MAX, "16.0 EiB"}};
  for (const auto& [bytes, text] : kSizes) EXPECT_EQ(SizeText(bytes, true), text) << bytes;
  EXPECT_EQ(SizeText(1048576, false), "1048576");
}

// Read back as written; a cut index gives a whole first part or nothing, and one of another
// version or claiming more than there is gives nothing.
TEST(ArchiveIndexTest, ReadsBackWhatWasWrittenAndNoDamage) {
  const std::vector<ArchiveObject> objects = {
      {"{CLIENT}", 0, "C:\\a\\report.doc", 1, {12, 34, 0x20}, "files\\00000001"},
      {"{OTHER}", 1, "HKEY_CURRENT_USER\\x", -3, {0, 1, 2, 0, 255}, ""}};
  std::string bytes = EncodeIndex(objects);
  const std::optional<std::vector<ArchiveObject>> read = DecodeIndex(bytes);
  ASSERT_TRUE(read && read->size() == 2);
  EXPECT_EQ(std::tie((*read)[1].client, (*read)[1].type, (*read)[1].name, (*read)[1].weight, (*read)[1].options),
            std::tie(objects[1].client, objects[1].type, objects[1].name, objects[1].weight, objects[1].options));
  EXPECT_EQ(EncodeIndex(*read), bytes);
  for (size_t size = 0; size < bytes.size(); ++size) {
    const std::optional<std::vector<ArchiveObject>> cut = DecodeIndex(bytes.substr(0, size));
    EXPECT_TRUE(!cut ||
                (cut->size() < 2 && EncodeIndex(*cut) == EncodeIndex({objects.begin(), objects.begin() + cut->size()})))
        << size;
  }
  std::string otherVersion = bytes;
  otherVersion[8] = 2;
  EXPECT_FALSE(DecodeIndex(otherVersion));
  EXPECT_FALSE(DecodeIndex("NOTANIDX" + bytes.substr(8)));
  bytes.replace(12, 4, "\xff\xff\xff\xff");  // the first object's client text claiming 4 GB
  EXPECT_FALSE(DecodeIndex(bytes));
}

}  // namespace
