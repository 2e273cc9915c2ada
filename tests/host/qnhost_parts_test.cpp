// The substitute host's own pieces: its command line and archive index.
#include <gtest/gtest.h>

#include <tuple>

#include "host/archive_index.h"
#include "host/command_line.h"
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

// Every refusal, with its reason.
TEST(CommandLineTest, RefusesWithTheReason) {
  const std::pair<std::vector<std::string>, const char*> kRefused[] = {
      {{}, "no command given"},
      {{"help", "frob"}, "help: unknown command \"frob\""},
      {{"help", "add", "x"}, "help: unexpected \"x\""},
      {{"frobnicate"}, "unknown command \"frobnicate\""},
      {{"add"}, "add: needs a path"},
      {{"add", ""}, "add: the path is empty"},
      {{"add", "x", "y"}, "add: unexpected \"y\""},
      {{"list", "x"}, "list: unexpected \"x\""},
      {{"add", "x", "--include", "a", "--include", "b"}, "add: --include is given twice"},
      {{"add", "x", "--include"}, "add: --include needs a value"},
      {{"add", "x", "--rule"}, "add: a rule is missing after --rule"},
      {{"add", "x", "--rule", "sometimes"}, "add: unknown rule \"sometimes\""},
      {{"add", "x", "--rule", "last-days"}, "add: the rule last-days needs a number"},
      {{"add", "x", "--exclude-rule", "before"}, "add: the rule before needs a date"},
      {{"add", "x", "--rule", "last-days", "0"}, "add: \"0\" is not a number from 1 to 9999"},
      {{"add", "x", "--rule", "after", "2003-02-29"}, "add: \"2003-02-29\" is not a date (YYYY-MM-DD, 1970 to 2037)"},
      {{"clear", "--dry-run"}, "clear: unknown option \"--dry-run\""},
      {{"backup"}, "backup: needs an archive folder"},
      {{"backup", "A", "--dry-run"}, "backup: a dry run takes no archive folder"},
      {{"backup", "A", "--human"}, "backup: --human goes with --dry-run"},
      {{"restore", "A", "--to", ""}, "restore: --to needs a folder"},
      {{"ui"}, "ui: needs a page (restore or backup)"},
  };
  for (const auto& [args, error] : kRefused) EXPECT_EQ(ParseCommandLine(args).error, error);
}

// Read back as written; an object claiming more than there is gives nothing.
TEST(ArchiveIndexTest, ReadsBackWhatWasWrittenAndNoDamage) {
  std::string bytes = EncodeIndex({{"{CLIENT}", 0, "C:\\a\\report.doc", 1, {12, 34, 0x20}, "files\\00000001"},
                                   {"{OTHER}", 1, "HKEY_CURRENT_USER\\x", -3, {0, 1, 2, 0, 255}, ""}});
  const std::optional<std::vector<ArchiveObject>> read = DecodeIndex(bytes);
  ASSERT_TRUE(read && read->size() == 2);
  EXPECT_EQ(EncodeIndex(*read), bytes);
  bytes.replace(12, 4, "\xff\xff\xff\xff");  // the first object's client text claiming 4 GB
  EXPECT_FALSE(DecodeIndex(bytes));
}

}  // namespace
