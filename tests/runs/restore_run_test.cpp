#include <gtest/gtest.h>

#include "engine/restore_run.h"
#include "platform/directory_search.h"
#include "tests/runs/recording_hosts.h"
#include "tests/support/service_clsid.h"
#include "tests/support/temp_tree.h"

namespace {

constexpr RunResult kFileNotFound = static_cast<RunResult>(0x80070002);
constexpr RunResult kDiskFull = static_cast<RunResult>(0x80070070);

bool Exists(const std::string& path) {
  platform::DirectorySearch search;
  platform::FoundEntry found;
  return search.Open(path) && search.Next(found);
}

struct RestoreCase {
  const char* name;
  std::string destination;
  uint32_t overwrite;
  std::vector<ScriptedObject> objects;
  RunResult iterateResult;
  CallLog calls;  // after Iterate; "@" is the case's tree
  RunResult result;
  std::vector<std::string> folders;  // made by the run, in the tree
};

// Only file objects are restored, each into its folder, made first; a raised error stops the
// run only with a failure code. With a destination, an object whose options give no safe name
// is passed over (which names are unsafe is ReadObjectName's table).
const RestoreCase kCases[] = {
    {"OriginalLocation", "", 1,
     {{0, "@deep\\er\\a.txt", {}, 1}, {1, "@skipped\\b.txt"}, {0, "@b.txt", {}, kDiskFull}, {0, "@c.txt"}},
     kRunOk,
     {"IsEnd()", "GetObjectInfo()", "RestoreFile(@deep\\er\\a.txt, 1, true)", "Next()", "IsEnd()", "GetObjectInfo()",
      "Next()", "IsEnd()", "GetObjectInfo()", "RestoreFile(@b.txt, 1, true)"},
     kRunFailed, {"deep", "deep\\er"}},
    {"Destination", "@out", 0,
     {{0, "C:\\Data\\a.txt"}, {0xFFFF, "C:\\Data\\b.txt"}, {0, "C:\\Data\\report.doc", OptionsNaming("report.doc")}},
     kRunOk,
     {"IsEnd()", "GetObjectInfo()", "GetObjectOptions()", "Next()", "IsEnd()", "GetObjectInfo()", "Next()", "IsEnd()",
      "GetObjectInfo()", "GetObjectOptions()", "RestoreFile(@out\\report.doc, 0, true)", "Next()", "IsEnd()"},
     kRunOk, {"out"}},
    {"IterateFails", "", 0, {{0, "@a.txt"}}, kFileNotFound, {}, kFileNotFound, {}},
};

TEST(RunRestore, TalksToTheHostAndMakesOnlyTheFoldersOfRestoredFiles) {
  for (const RestoreCase& c : kCases) {
    SCOPED_TRACE(c.name);
    TempTree tree;
    std::vector<ScriptedObject> objects = c.objects;
    for (ScriptedObject& object : objects) object.name = Rooted(object.name, tree.Root());
    RecordingRestoreHost host(objects, c.iterateResult);
    EXPECT_EQ(RunRestore(host, {Rooted(c.destination, tree.Root()), c.overwrite}, kServiceClsid), c.result);

    CallLog expected = {Call("Iterate", {kServiceClsid})};
    for (const std::string& call : c.calls) expected.push_back(Rooted(call, tree.Root()));
    EXPECT_EQ(host.calls, expected);
    std::vector<std::string> folders;
    for (const char* folder : {"deep", "deep\\er", "out", "skipped"}) {
      if (Exists(tree.Path(folder))) folders.push_back(folder);
    }
    EXPECT_EQ(folders, c.folders);
  }
}

}  // namespace
