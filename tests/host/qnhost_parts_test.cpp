// The substitute host's own pieces: its command line, archive index and object options, sizes
// and the progress line.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "engine/restore_target.h"
#include "host/archive_index.h"
#include "host/command_line.h"
#include "host/object_options.h"
#include "host/progress_bar.h"
#include "host/size_text.h"
#include "model/date_rule.h"

namespace {

// A parsed command in one line: the verb, the path in brackets, then every option set.
std::string Rendered(const Command& c) {
  if (!c.error.empty()) return "error: " + c.error;
  static const char* const kVerbs[] = {"help", "add", "list", "clear", "clients", "backup", "restore", "show", "ui"};
  std::string text = kVerbs[static_cast<int>(c.verb)];
  if (c.verb == Verb::kHelp && c.helpAbout != Verb::kHelp) {
    text += std::string(" ") + kVerbs[static_cast<int>(c.helpAbout)];
  }
  const auto rule = [](const RuleOption& r) {
    const auto& d = r.date;
    return std::to_string(r.kind) + "/" +
           (d ? std::to_string(d->year) + "-" + std::to_string(d->month) + "-" + std::to_string(d->day)
              : std::to_string(r.count));
  };
  if (!c.path.empty()) text += " [" + c.path + "]";
  if (c.include) text += " include=" + *c.include;
  if (c.exclude) text += " exclude=" + *c.exclude;
  if (c.noRecurse) text += " no-recurse";
  if (c.rule) text += " rule=" + rule(*c.rule);
  if (c.excludeRule) text += " exclude-rule=" + rule(*c.excludeRule);
  if (c.destination) text += " to=" + *c.destination;
  if (c.overwrite) text += " overwrite";
  if (c.dryRun) text += " dry-run";
  if (c.human) text += " human";
  return text;
}

TEST(CommandLineTest, ParsesOrSaysWhy) {
  const struct {
    std::vector<std::string> args;
    const char* parsed;
  } kLines[] = {
      {{}, "error: no command given"},
      {{"help"}, "help"},
      {{"-h", "restore"}, "help restore"},
      {{"backup", "A", "-h"}, "help backup"},
      {{"help", "frob"}, "error: help: unknown command \"frob\""},
      {{"frobnicate"}, "error: unknown command \"frobnicate\""},
      {{"add", "--include", "doc|*.txt", "C:\\Data", "--exclude", "*.tmp", "--no-recurse", "--rule", "last-weeks", "2",
        "--exclude-rule", "before", "2003-05-17"},
       "add [C:\\Data] include=doc|*.txt exclude=*.tmp no-recurse rule=2/2 exclude-rule=4/2003-5-17"},
      {{"add", "--", "--help"}, "add [--help]"},
      {{"add"}, "error: add: needs a path"},
      {{"add", "x", "--include", "a", "--include", "b"}, "error: add: --include is given twice"},
      {{"add", "x", "--include"}, "error: add: --include needs a value"},
      {{"add", "x", "--rule", "last-days", "0"}, "error: add: \"0\" is not a number from 1 to 9999"},
      {{"add", "x", "--rule", "after", "2003-02-29"},
       "error: add: \"2003-02-29\" is not a date (YYYY-MM-DD, 1970 to 2037)"},
      {{"clear", "--dry-run"}, "error: clear: unknown option \"--dry-run\""},
      {{"backup", "A"}, "backup [A]"},
      {{"backup", "--human", "--dry-run"}, "backup dry-run human"},
      {{"backup", "A", "--dry-run"}, "error: backup: a dry run takes no archive folder"},
      {{"backup", "A", "--human"}, "error: backup: --human goes with --dry-run"},
      {{"restore", "--overwrite", "--to", "D:\\R", "A"}, "restore [A] to=D:\\R overwrite"},
      {{"ui", "restore"}, "ui [restore]"},
  };
  for (const auto& line : kLines) {
    std::string typed;
    for (const std::string& arg : line.args) typed += " '" + arg + "'";
    EXPECT_EQ(Rendered(ParseCommandLine(line.args)), line.parsed) << typed;
  }
}

TEST(SizeTextTest, BytesOrOneDecimalOf1024s) {
  const std::pair<uint64_t, const char*> kSizes[] = {
      {1023, "1023 B"}, {1024, "1.0 KiB"}, {1048524, "1023.9 KiB"}, {1048525, "1.0 MiB"}, {UINT64_MAX, "16.0 EiB"}};
  for (const auto& [bytes, text] : kSizes) EXPECT_EQ(SizeText(bytes, true), text) << bytes;
  EXPECT_EQ(SizeText(1048576, false), "1048576");
}

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
