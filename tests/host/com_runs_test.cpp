// Backup and Restore of the registered module, created by class identifier, talking to host
// objects of this program: the whole conversation, then the same run once for every task
// allocation it made with that one allocation refused. Every time, each reference is given
// back and every string, value and array freed, and running out of memory only ever ends the
// run with E_OUTOFMEMORY.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "model/settings_store.h"
#include "tests/host/recording_com_host.h"
#include "tests/server/registered_module.h"
#include "tests/server/task_memory.h"
#include "tests/support/entries.h"
#include "tests/support/service_clsid.h"
#include "tests/support/temp_tree.h"

namespace {

struct Outcome {
  HRESULT result;
  CallLog log;
};

// Runs `run` with every allocation granted, then once per allocation that run made with just
// that one refused; returns the first outcome.
Outcome RunRefusingEachAllocation(HRESULT expected, const std::function<Outcome()>& run) {
  const long live = task_memory::Live();
  const long before = task_memory::Allocations();
  const Outcome full = run();
  EXPECT_EQ(task_memory::Live(), live) << "task memory left allocated";
  for (long n = 1, made = task_memory::Allocations() - before; n <= made; ++n) {
    task_memory::RefuseAllocation(n);
    const HRESULT result = run().result;
    task_memory::RefuseAllocation(0);
    EXPECT_TRUE(result == expected || result == E_OUTOFMEMORY) << "allocation " << n << " refused: 0x" << std::hex
                                                                << result;
    EXPECT_EQ(task_memory::Live(), live) << "task memory left allocated with allocation " << n << " refused";
  }
  return full;
}

// ---- Backup -------------------------------------------------------------------------------
// In a case's texts "@" stands for the root of the case's own temporary tree, "~" for the
// name of the long folder in it.

BackupEntry Folder(const std::string& path, bool recursive = true, const std::string& masks = "*.*") {
  return FolderEntry(path, masks, "", recursive);
}

std::string Begun(int files) { return Call("BeginClient", {"Files and folders", kServiceClsid, std::to_string(files)}); }
std::string BackedUp(const std::string& path, const std::string& localName) {
  return Call("BackupFile", {path, localName, "File Backup", "1", "-1"});
}
std::string Ended(int deleteClient) { return Call("EndClient", {std::to_string(deleteClient)}); }

struct BackupCase {
  const char* name;
  BackupList entries;
  BackuperScript script;  // its paths are rooted too
  CallLog calls;
  HRESULT result;
};

void PrintTo(const BackupCase& c, std::ostream* os) { *os << c.name; }

// The tree: A.txt, b.txt, sub\c.doc, sub\d.tmp, and a folder "~" whose path is 250 characters
// long, holding top.txt and deeper\in.txt: "deeper" is listed, but its search pattern is longer
// than the system's ANSI calls take, so the walk cannot look inside it.
std::vector<BackupCase> BackupCases() {
  const std::string tooLong = "@" + std::string(300, 'x');
  return {
      {"EachFileOnceInOrderFailuresPosted",
       {Folder("@sub"), CFileEntry{"@B.TXT"}, Folder("@", 0, "*.txt"), CFileEntry{"@sub\\c.doc"}},
       {{{"@B.TXT", "B.TXT is locked"}}},
       {Begun(4), BackedUp("@A.txt", "A.txt"), BackedUp("@B.TXT", "B.TXT"), Call("GetLastError"),
        Call("Message", {"B.TXT is locked"}), BackedUp("@sub\\c.doc", "c.doc"), BackedUp("@sub\\d.tmp", "d.tmp"),
        Ended(0)},
       E_FAIL},
      {"EveryFileFailsWhileTheCallsNotLookedAtFail",
       {CFileEntry{"@A.txt"}, CFileEntry{"@b.txt"}},
       {{{"@A.txt", "A.txt is locked"}, {"@b.txt", std::nullopt}}, E_FAIL},
       {Begun(2), BackedUp("@A.txt", "A.txt"), Call("GetLastError"), Call("Message", {"A.txt is locked"}),
        BackedUp("@b.txt", "b.txt"), Call("GetLastError"), Call("Message", {""}), Ended(1)},
       E_FAIL},
      {"NothingToBackUpWhileEveryCallFails",
       {},
       {{}, E_FAIL},
       {Begun(0), Call("Message", {"No files to backup."}), Ended(1)},
       S_OK},
      {"FoldersThatCannotBeSearched",
       {Folder("@missing"), Folder("@A.txt"), Folder(tooLong), CFileEntry{tooLong + "\\a.txt"},
        Folder("@~")},
       {{}, S_OK},
       {Begun(1), BackedUp("@~\\top.txt", "top.txt"), Ended(0)},
       S_OK},
  };
}

class ComBackupTest : public ModuleTest, public testing::WithParamInterface<BackupCase> {};

TEST_P(ComBackupTest, TalksToTheHostAndFreesEverything) {
  const BackupCase& c = GetParam();
  TempTree tree;
  for (const char* file : {"A.txt", "b.txt", "sub\\c.doc", "sub\\d.tmp", "long\\top.txt", "long\\deeper\\in.txt"}) {
    tree.AddFile(file, 1700000000);
  }
  // Renamed, as the ANSI calls cannot make what lies below it.
  const std::string longFolder(250 - tree.Root().size(), 'L');
  ASSERT_TRUE(MoveFileA(tree.Path("long").c_str(), tree.Path(longFolder).c_str()));
  BackupList entries = c.entries;
  for (BackupEntry& entry : entries) {
    std::visit([&](auto& e) { e.m_strPath = Rooted(e.m_strPath, tree.Root(), longFolder); }, entry);
  }
  SaveBackupList(BackupListKey(), entries);
  BackuperScript script{{}, c.script.ignored};
  for (const auto& [path, text] : c.script.failing) script.failing[Rooted(path, tree.Root())] = text;

  const ComPtr<IBkQnService> service = NewService();
  const Outcome outcome = RunRefusingEachAllocation(c.result, [&] {
    CallLog log;
    const auto backuper = ComPtr<RecordingBackuper>::Adopt(new RecordingBackuper(log, script));
    const auto progress = ComPtr<RecordingProgress>::Adopt(new RecordingProgress(log, script.ignored));
    const HRESULT result = service->Backup(backuper.get(), progress.get());
    EXPECT_EQ(backuper->References(), 1u);
    EXPECT_EQ(progress->References(), 1u);
    return Outcome{result, log};
  });
  EXPECT_EQ(outcome.result, c.result);
  CallLog expected;
  for (const std::string& call : c.calls) expected.push_back(Rooted(call, tree.Root(), longFolder));
  EXPECT_EQ(outcome.log, expected);
  MoveFileA(tree.Path(longFolder).c_str(), tree.Path("long").c_str());
}

INSTANTIATE_TEST_SUITE_P(Cases, ComBackupTest, testing::ValuesIn(BackupCases()),
                         [](const testing::TestParamInfo<BackupCase>& info) { return info.param.name; });

// The classes are apartment-threaded, so a host may run a backup in each of two apartments at
// once: both runs read the same list and hand over the same files.
class ComApartmentsTest : public ModuleTest {};

TEST_F(ComApartmentsTest, TwoBackupsAtOnceBothHandOverTheWholeList) {
  TempTree tree;
  for (int i = 0; i < 30; ++i) tree.AddFile("sub\\f" + std::to_string(i) + ".txt", 1700000000);
  SaveBackupList(BackupListKey(), {Folder(tree.Root())});
  std::atomic<int> ready{0};
  const auto run = [&ready](CallLog& log, HRESULT& result) {
    const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
      ComPtr<IBkQnService> service;
      if (SUCCEEDED(apartment)) service = NewService();
      const auto backuper = ComPtr<RecordingBackuper>::Adopt(new RecordingBackuper(log, {}));
      const auto progress = ComPtr<RecordingProgress>::Adopt(new RecordingProgress(log, S_OK));
      // Both runs start together.
      ++ready;
      while (ready.load() < 2) Sleep(0);
      if (service) result = service->Backup(backuper.get(), progress.get());
    }
    if (SUCCEEDED(apartment)) CoUninitialize();
  };
  CallLog logs[2];
  HRESULT results[2] = {E_UNEXPECTED, E_UNEXPECTED};
  std::thread first(run, std::ref(logs[0]), std::ref(results[0]));
  std::thread second(run, std::ref(logs[1]), std::ref(results[1]));
  first.join();
  second.join();
  EXPECT_EQ(results[0], S_OK);
  EXPECT_EQ(results[1], S_OK);
  EXPECT_EQ(logs[0].size(), 32u) << "BeginClient, 30 files, EndClient";
  EXPECT_EQ(logs[0], logs[1]);
}

// Script hosts reach the host objects by name, through the type library in this program's resources.
TEST(HostDispatchTest, NamesAndCallsGoThroughTheTypeLibrary) {
  CallLog log;
  const auto backuper = ComPtr<RecordingBackuper>::Adopt(new RecordingBackuper(log, {{}, E_FAIL}));
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"EndClient")};
  DISPID id = 0;
  ASSERT_EQ(backuper->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  EXPECT_EQ(id, 5);
  UniqueVariant argument;
  argument.set_i4(1);
  DISPPARAMS params = {argument.get(), nullptr, 1, 0};
  // The failing EndClient, which automation reports as an exception.
  EXPECT_EQ(backuper->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
            DISP_E_EXCEPTION);
  EXPECT_EQ(log, CallLog{Ended(1)});
}

// ---- Restore ------------------------------------------------------------------------------

RecordedObject Raising(const std::string& name, HRESULT code) { return {name, {}, {}, 0, S_OK, code}; }

const std::string kIsEnd = Call("IsEnd");
const std::string kInfo = Call("GetObjectInfo");
const std::string kOptions = Call("GetObjectOptions");
const std::string kNext = Call("Next");

std::string Restored(const std::string& target, const char* option) {
  return Call("RestoreFile", {target, option, "-1"});
}

struct RestoreCase {
  const char* name;
  std::string destination;
  uint32_t overwrite;
  RestorerScript script;
  CallLog calls;  // after Iterate
  HRESULT result;
  std::vector<std::string> folders = {};  // made on disk by the run
};

void PrintTo(const RestoreCase& c, std::ostream* os) { *os << c.name; }

const RestoreCase kRestoreCases[] = {
    {"WhereTheyCameFromNullNameAsEmpty", "", 1, {{{"@deep\\er\\f.txt"}, {std::nullopt}}},
     {kIsEnd, kInfo, Restored("@deep\\er\\f.txt", "1"), kNext, kIsEnd, kInfo, Restored("", "1"), kNext, kIsEnd},
     S_OK, {"deep", "deep\\er"}},
    {"IntoTheDestinationByStoredName", "@out", 0, {{{"HKEY_CURRENT_USER\\x", {}, {}, 1}, Stored("report.doc")}},
     {kIsEnd, kInfo, kNext, kIsEnd, kInfo, kOptions, Restored("@out\\report.doc", "0"), kNext, kIsEnd},
     S_OK, {"out"}},
    {"UnusableOptionsPassedOver", "@out", 1,
     {{Stored("a", OptionsForm::kFails), Stored("b", OptionsForm::kText), Stored("c", OptionsForm::kTwoDimensions),
       Stored("d", OptionsForm::kNullArray), {"e", {}}, Stored("good.doc")}},
     {kIsEnd, kInfo, kOptions, kNext, kIsEnd, kInfo, kOptions, kNext, kIsEnd, kInfo, kOptions, kNext,
      kIsEnd, kInfo, kOptions, kNext, kIsEnd, kInfo, kOptions, kNext,
      kIsEnd, kInfo, kOptions, Restored("@out\\good.doc", "1"), kNext, kIsEnd},
     S_OK},
    {"IterateFails", "", 0, {{{"@a.txt"}}, E_ACCESSDENIED}, {}, E_ACCESSDENIED},
    {"IsEndFailsMidway", "", 0, {{{"@a.txt"}, {"@b.txt"}}, S_OK, 1},
     {kIsEnd, kInfo, Restored("@a.txt", "0"), kNext, kIsEnd}, S_OK},
    {"ObjectInfoFails", "", 0, {{{"@a.txt", {}, {}, 0, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)}, {"@b.txt"}}},
     {kIsEnd, kInfo}, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
    {"QnErrorStopsOnlyWithAFailureCode", "", 0,
     {{Raising("@a.txt", S_FALSE), Raising("@b.txt", E_ACCESSDENIED), {"@c.txt"}}},
     {kIsEnd, kInfo, Restored("@a.txt", "0"), kNext, kIsEnd, kInfo, Restored("@b.txt", "0")}, E_FAIL},
};

class ComRestoreTest : public ModuleTest, public testing::WithParamInterface<RestoreCase> {};

TEST_P(ComRestoreTest, TalksToTheHostAndFreesEverything) {
  const RestoreCase& c = GetParam();
  TempTree tree;
  SaveRestoreOptions(RestoreOptionsKey(), {Rooted(c.destination, tree.Root()), c.overwrite});
  RestorerScript script = c.script;
  for (RecordedObject& object : script.objects) {
    if (object.name) object.name = Rooted(*object.name, tree.Root());
  }

  const ComPtr<IBkQnService> service = NewService();
  const Outcome outcome = RunRefusingEachAllocation(c.result, [&] {
    CallLog log;
    const auto restorer = ComPtr<RecordingRestorer>::Adopt(new RecordingRestorer(log, script));
    const auto progress = ComPtr<RecordingProgress>::Adopt(new RecordingProgress(log, S_OK));
    const HRESULT result = service->Restore(restorer.get(), progress.get());
    EXPECT_EQ(restorer->References(), 1u);
    EXPECT_EQ(progress->References(), 1u);
    return Outcome{result, log};
  });
  EXPECT_EQ(outcome.result, c.result);
  CallLog expected = {Call("Iterate", {kServiceClsid})};
  for (const std::string& call : c.calls) expected.push_back(Rooted(call, tree.Root()));
  EXPECT_EQ(outcome.log, expected);
  for (const std::string& folder : c.folders) {
    const DWORD attributes = GetFileAttributesA(tree.Path(folder).c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << folder;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ComRestoreTest, testing::ValuesIn(kRestoreCases),
                         [](const testing::TestParamInfo<RestoreCase>& info) { return info.param.name; });

}  // namespace
