#include <gtest/gtest.h>

#include "engine/restore_run.h"
#include "platform/directory_search.h"
#include "platform/file_attributes.h"
#include "tests/runs/recording_hosts.h"
#include "tests/support/service_clsid.h"
#include "tests/support/temp_tree.h"

namespace {

constexpr RunResult kFileNotFound = static_cast<RunResult>(0x80070002);
constexpr RunResult kUnexpected = static_cast<RunResult>(0x8000FFFF);
constexpr RunResult kDiskFull = static_cast<RunResult>(0x80070070);

bool Exists(const std::string& path, uint32_t attribute = 0) {
  platform::DirectorySearch search;
  platform::FoundEntry found;
  return search.Open(path) && search.Next(found) && (found.attributes & attribute) == attribute;
}

ScriptedObject Stored(const std::string& name, const std::string& storedName) {
  return {0, name, OptionsNaming(storedName)};
}

struct RestoreCase {
  const char* name;
  std::string destination;
  uint32_t overwrite;
  RestoreScript script;
  std::vector<std::string> calls;  // after Iterate
  RunResult result;
  std::vector<std::string> folders = {};  // made on disk by the run
  std::vector<std::string> absent = {};   // not made
};

class RunRestoreTest : public testing::TestWithParam<RestoreCase> {};

TEST_P(RunRestoreTest, TalksToTheHostAndMakesTheFolders) {
  const RestoreCase& c = GetParam();
  TempTree tree;
  RestoreScript script = c.script;
  for (ScriptedObject& object : script.objects) object.name = Rooted(object.name, tree.Root());
  RecordingRestoreHost host(script);
  RestoreOptions options{Rooted(c.destination, tree.Root()), c.overwrite};

  EXPECT_EQ(RunRestore(host, options, kServiceClsid), c.result);

  std::vector<std::string> expected = {"Iterate(" + kServiceClsid + ")"};
  for (const std::string& call : c.calls) expected.push_back(Rooted(call, tree.Root()));
  EXPECT_EQ(host.calls, expected);
  for (const std::string& folder : c.folders) EXPECT_TRUE(Exists(tree.Path(folder), platform::kAttributeDirectory)) << folder;
  for (const std::string& path : c.absent) EXPECT_FALSE(Exists(tree.Path(path))) << path;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunRestoreTest,
    testing::Values(
        RestoreCase{"OriginalLocation", "", 0, {{{0, "@deep\\er\\a.txt"}, {0, "@b.txt"}}},
                    {"IsEnd()", "GetObjectInfo()", "RestoreFile(@deep\\er\\a.txt, 0, true)", "Next()",
                     "IsEnd()", "GetObjectInfo()", "RestoreFile(@b.txt, 0, true)", "Next()", "IsEnd()"},
                    kRunOk, {"deep", "deep\\er"}, {"deep\\er\\a.txt", "b.txt"}},
        RestoreCase{"Destination", "@out", 1, {{Stored("C:\\Data\\report.doc", "report.doc")}},
                    {"IsEnd()", "GetObjectInfo()", "GetObjectOptions()", "RestoreFile(@out\\report.doc, 1, true)",
                     "Next()", "IsEnd()"},
                    kRunOk, {"out"}, {"out\\report.doc"}},
        RestoreCase{"DestinationEndsInBackslash", "@out\\", 0, {{Stored("C:\\Data\\report.doc", "report.doc")}},
                    {"IsEnd()", "GetObjectInfo()", "GetObjectOptions()", "RestoreFile(@out\\report.doc, 0, true)",
                     "Next()", "IsEnd()"},
                    kRunOk, {"out"}},
        RestoreCase{"NonFileObjectsPassedOver", "@out", 1,
                    {{{1, "@skipped\\a.txt", OptionsNaming("a.txt")}, {0xFFFF, "@skipped\\b.txt"}}},
                    {"IsEnd()", "GetObjectInfo()", "Next()", "IsEnd()", "GetObjectInfo()", "Next()", "IsEnd()"},
                    kRunOk, {}, {"out", "skipped"}},
        // With a destination, an object whose options give no safe name is passed over
        // before anything is created; which names are unsafe is ReadObjectName's table.
        RestoreCase{"NoOptionsPassedOver", "@out\\in", 1, {{{0, "C:\\Data\\a.txt"}}},
                    {"IsEnd()", "GetObjectInfo()", "GetObjectOptions()", "Next()", "IsEnd()"}, kRunOk, {}, {"out"}},
        RestoreCase{"IterateFails", "", 0, {{{0, "@a.txt"}}, kFileNotFound}, {}, kFileNotFound},
        RestoreCase{"GetObjectInfoFails", "", 0, {{{0, "@a.txt"}, {0, "@b.txt", {}, {}, kUnexpected}, {0, "@c.txt"}}},
                    {"IsEnd()", "GetObjectInfo()", "RestoreFile(@a.txt, 0, true)", "Next()", "IsEnd()",
                     "GetObjectInfo()"},
                    kUnexpected},
        RestoreCase{"HostRaisesFailure", "", 1, {{{0, "@a\\x.txt", {}, kDiskFull}, {0, "@b\\y.txt"}}},
                    {"IsEnd()", "GetObjectInfo()", "RestoreFile(@a\\x.txt, 1, true)"}, kRunFailed, {"a"}, {"b"}},
        RestoreCase{"HostRaisesSuccess", "", 1, {{{0, "@a.txt", {}, 1}, {0, "@b.txt"}}},
                    {"IsEnd()", "GetObjectInfo()", "RestoreFile(@a.txt, 1, true)", "Next()", "IsEnd()",
                     "GetObjectInfo()", "RestoreFile(@b.txt, 1, true)", "Next()", "IsEnd()"},
                    kRunOk}),
    [](const testing::TestParamInfo<RestoreCase>& info) { return info.param.name; });

}  // namespace
