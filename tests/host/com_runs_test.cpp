// Backup and Restore of the registered module, created by class identifier, talking to host
// objects of this program: recording ones, for the whole conversation, then the same run once
// for every task allocation it made with that one allocation refused (every time, each
// reference is given back and every string, value and array freed, and running out of memory
// only ever ends the run with E_OUTOFMEMORY); then qnhost's own archive objects.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>
#include <tuple>

#include "host/archive_backuper.h"
#include "host/archive_restorer.h"
#include "host/console_progress.h"
#include "host/object_options.h"
#include "model/join_path.h"
#include "model/settings_store.h"
#include "tests/host/recording_com_host.h"
#include "tests/server/registered_module.h"
#include "tests/server/task_memory.h"
#include "tests/support/entries.h"
#include "tests/support/service_clsid.h"
#include "tests/support/temp_tree.h"

namespace {

std::string Content(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// Runs `call` with a new recording host of `script` and a recording progress whose Message
// fails (which the module does not look at), every allocation granted, then once per
// allocation that run made with just that one refused. The calls of the first run, with "@"
// for the tree's root.
template <typename Host, typename Interface, typename Script>
CallLog RunRefusingEachAllocation(HRESULT (STDMETHODCALLTYPE IBkQnService::*call)(Interface*, IProgress*),
                                  const Script& script, HRESULT expected, const TempTree& tree) {
  const ComPtr<IBkQnService> service = NewService();
  HRESULT result = E_UNEXPECTED;
  const auto run = [&] {
    CallLog log;
    const auto host = ComPtr<Host>::Adopt(new Host(log, script));
    const auto progress = ComPtr<RecordingProgress>::Adopt(new RecordingProgress(log, E_FAIL));
    result = (service.get()->*call)(host.get(), progress.get());
    EXPECT_EQ(host->References(), 1u);
    EXPECT_EQ(progress->References(), 1u);
    return log;
  };
  const long live = task_memory::Live();
  const long before = task_memory::Allocations();
  CallLog log = run();
  EXPECT_EQ(result, expected);
  EXPECT_EQ(task_memory::Live(), live) << "task memory left allocated";
  for (long n = 1, made = task_memory::Allocations() - before; n <= made; ++n) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " refused");
    task_memory::RefuseAllocation(n);
    run();
    task_memory::RefuseAllocation(0);
    EXPECT_TRUE(result == expected || result == E_OUTOFMEMORY) << std::hex << result;
    EXPECT_EQ(task_memory::Live(), live);
  }
  for (std::string& line : log) {
    for (size_t at = line.find(tree.Root()); at != std::string::npos; at = line.find(tree.Root())) {
      line.replace(at, tree.Root().size(), "@");
    }
  }
  return log;
}

std::string Begun(int files) {
  return Call("BeginClient", {"Files and folders", kServiceClsid, std::to_string(files)});
}
std::string BackedUp(const std::string& path, const std::string& localName) {
  return Call("BackupFile", {path, localName, "File Backup", "1", "-1"});
}
std::string Ended(int deleteClient) { return Call("EndClient", {std::to_string(deleteClient)}); }

const std::string kIsEnd = Call("IsEnd");
const std::string kInfo = Call("GetObjectInfo");
const std::string kOptions = Call("GetObjectOptions");
const std::string kNext = Call("Next");
const std::string kIterate = Call("Iterate", {kServiceClsid});

std::string Restored(const std::string& target, const char* option) {
  return Call("RestoreFile", {target, option, "-1"});
}

// In a run's paths "@" stands for the root of the test's tree.
class ComRunTest : public ModuleTest {
 protected:
  CallLog Backup(BackupList entries, const BackuperScript& script, HRESULT expected) {
    for (BackupEntry& entry : entries) std::visit([&](auto& e) { e.m_strPath = Rooted(e.m_strPath, Root()); }, entry);
    SaveBackupList(BackupListKey(), entries);
    BackuperScript rooted{{}, script.ignored};
    for (const auto& [path, text] : script.failing) rooted.failing[Rooted(path, Root())] = text;
    return RunRefusingEachAllocation<RecordingBackuper>(&IBkQnService::Backup, rooted, expected, m_tree);
  }
  // Into `destination`, or "" where the files came from.
  CallLog Restore(const std::string& destination, uint32_t overwrite, RestorerScript script, HRESULT expected) {
    SaveRestoreOptions(RestoreOptionsKey(), {Rooted(destination, Root()), overwrite});
    for (RecordedObject& object : script.objects) {
      if (object.name) object.name = Rooted(*object.name, Root());
    }
    return RunRefusingEachAllocation<RecordingRestorer>(&IBkQnService::Restore, script, expected, m_tree);
  }
  const std::string& Root() const { return m_tree.Root(); }

  TempTree m_tree;
};

// Each file once, in order; a failure is posted and fails the run. Entries that name no
// folder to search (missing, a file, a path too long) add nothing. When every file fails, the
// calls whose results the module does not look at fail too, and a null error text is posted
// as an empty one.
TEST_F(ComRunTest, OneFileFailsAllFailOrNoneIsThere) {
  for (const char* file : {"A.txt", "b.txt", "sub\\c.doc", "sub\\d.tmp"}) m_tree.AddFile(file, 1700000000);
  const std::string tooLong = "@" + std::string(300, 'x');
  EXPECT_EQ(Backup({FolderEntry("@sub"), CFileEntry{"@B.TXT"}, FolderEntry("@", "*.txt", "", false),
                    CFileEntry{"@sub\\c.doc"}, FolderEntry("@missing"), FolderEntry("@A.txt"), FolderEntry(tooLong),
                    CFileEntry{tooLong + "\\a.txt"}},
                   {{{"@B.TXT", "B.TXT is locked"}}}, E_FAIL),
            (CallLog{Begun(4), BackedUp("@A.txt", "A.txt"), BackedUp("@B.TXT", "B.TXT"), Call("GetLastError"),
                     Call("Message", {"B.TXT is locked"}), BackedUp("@sub\\c.doc", "c.doc"),
                     BackedUp("@sub\\d.tmp", "d.tmp"), Ended(0)}));
  EXPECT_EQ(Backup({CFileEntry{"@A.txt"}, CFileEntry{"@b.txt"}},
                   {{{"@A.txt", "A.txt is locked"}, {"@b.txt", std::nullopt}}, E_FAIL}, E_FAIL),
            (CallLog{Begun(2), BackedUp("@A.txt", "A.txt"), Call("GetLastError"), Call("Message", {"A.txt is locked"}),
                     BackedUp("@b.txt", "b.txt"), Call("GetLastError"), Call("Message", {""}), Ended(1)}));
  EXPECT_EQ(Backup({}, {{}, E_FAIL}, S_OK), (CallLog{Begun(0), Call("Message", {"No files to backup."}), Ended(1)}));
}

// The classes are apartment-threaded, so a host may run a backup in each of two apartments at
// once: both read the same list and hand over the same files.
TEST_F(ComRunTest, TwoBackupsInTwoApartmentsAtOnceHandOverTheSameList) {
  for (int i = 0; i < 30; ++i) m_tree.AddFile("sub\\f" + std::to_string(i) + ".txt", 1700000000);
  SaveBackupList(BackupListKey(), {FolderEntry(Root())});
  std::atomic<int> ready{0};
  CallLog logs[2];
  HRESULT results[2] = {E_UNEXPECTED, E_UNEXPECTED};
  const auto run = [&](int i) {
    const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
      const ComPtr<IBkQnService> service = SUCCEEDED(apartment) ? NewService() : ComPtr<IBkQnService>();
      const auto backuper = ComPtr<RecordingBackuper>::Adopt(new RecordingBackuper(logs[i], {}));
      const auto progress = ComPtr<RecordingProgress>::Adopt(new RecordingProgress(logs[i], S_OK));
      ++ready;
      while (ready.load() < 2) Sleep(0);  // both runs start together
      if (service) results[i] = service->Backup(backuper.get(), progress.get());
    }
    if (SUCCEEDED(apartment)) CoUninitialize();
  };
  std::thread first(run, 0), second(run, 1);
  first.join();
  second.join();
  EXPECT_EQ(std::make_pair(results[0], results[1]), std::make_pair(S_OK, S_OK));
  EXPECT_EQ(logs[0].size(), 32u) << "BeginClient, 30 files, EndClient";
  EXPECT_EQ(logs[0], logs[1]);
}

// Script hosts reach the host objects by name, through the type library in this program's
// resources, and give back the references they took.
TEST(HostDispatchTest, NamesAndCallsGoThroughTheTypeLibrary) {
  CallLog log;
  const auto backuper = ComPtr<RecordingBackuper>::Adopt(new RecordingBackuper(log, {{}, E_FAIL}));
  ComPtr<IDispatch> dispatch;
  ASSERT_EQ(backuper.As(dispatch, IID_IDispatch), S_OK);
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"EndClient")};
  DISPID id = 0;
  ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  UniqueVariant argument;
  argument.set_i4(1);
  DISPPARAMS params = {argument.get(), nullptr, 1, 0};
  // The failing EndClient, which automation reports as an exception.
  EXPECT_EQ(dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
            DISP_E_EXCEPTION);
  EXPECT_EQ(log, CallLog{Ended(1)});
  dispatch.reset();
  EXPECT_EQ(backuper->References(), 1u);
}

// Where the files came from, the folders on the way are made (a null name is an empty one);
// into a destination a file goes by the name its options hold, and objects that are no file or
// whose options are unusable are passed over. Iterate's and GetObjectInfo's failures end the
// run with their code, IsEnd's ends it as an end would, and only a QnError raised with a
// failure code stops it.
TEST_F(ComRunTest, RestoreTalksToTheHostAndFreesEverything) {
  const auto raising = [](const char* name, HRESULT code) { return RecordedObject{name, {}, {}, 0, S_OK, code}; };
  const struct {
    const char* destination;
    uint32_t overwrite;
    RestorerScript script;
    CallLog calls;  // after Iterate
    HRESULT result;
  } cases[] = {
      {"", 1, {{{"@deep\\er\\f.txt"}, {std::nullopt}}},
       {kIsEnd, kInfo, Restored("@deep\\er\\f.txt", "1"), kNext, kIsEnd, kInfo, Restored("", "1"), kNext, kIsEnd},
       S_OK},
      {"@out", 0, {{{"HKEY_CURRENT_USER\\x", {}, {}, 1}, Stored("report.doc")}},
       {kIsEnd, kInfo, kNext, kIsEnd, kInfo, kOptions, Restored("@out\\report.doc", "0"), kNext, kIsEnd}, S_OK},
      {"@out", 1,
       {{Stored("a", OptionsForm::kFails), Stored("b", OptionsForm::kText), Stored("c", OptionsForm::kTwoDimensions),
         Stored("d", OptionsForm::kNullArray), {"e", {}}, Stored("good.doc")}},
       {kIsEnd, kInfo, kOptions, kNext, kIsEnd, kInfo, kOptions, kNext, kIsEnd, kInfo, kOptions, kNext, kIsEnd, kInfo,
        kOptions, kNext, kIsEnd, kInfo, kOptions, kNext, kIsEnd, kInfo, kOptions, Restored("@out\\good.doc", "1"),
        kNext, kIsEnd},
       S_OK},
      {"", 0, {{{"@a.txt"}}, E_ACCESSDENIED}, {}, E_ACCESSDENIED},
      {"", 0, {{{"@a.txt"}, {"@b.txt"}}, S_OK, 1}, {kIsEnd, kInfo, Restored("@a.txt", "0"), kNext, kIsEnd}, S_OK},
      {"", 0, {{{"@a.txt", {}, {}, 0, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)}, {"@b.txt"}}}, {kIsEnd, kInfo},
       HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
      {"", 0, {{raising("@a.txt", S_FALSE), raising("@b.txt", E_ACCESSDENIED), {"@c.txt"}}},
       {kIsEnd, kInfo, Restored("@a.txt", "0"), kNext, kIsEnd, kInfo, Restored("@b.txt", "0")}, E_FAIL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("case " + std::to_string(&c - cases));
    CallLog expected{kIterate};
    expected.insert(expected.end(), c.calls.begin(), c.calls.end());
    EXPECT_EQ(Restore(c.destination, c.overwrite, c.script, c.result), expected);
  }
  EXPECT_NE(GetFileAttributesA(m_tree.Path("deep\\er").c_str()), INVALID_FILE_ATTRIBUTES);
}

// qnhost's archive objects on the other side: a restore writes back what the backup stored,
// existing files are kept unless overwriting is asked for, and a damaged archive stops the
// restore through QnError. A dry run lists what the backup stores.
TEST_F(ComRunTest, QnhostArchiveRestoresWhatItBackedUpKeepingWhatIsThere) {
  for (const char* file : {"src\\a.txt", "src\\deeper\\b.doc", "src\\c.tmp", "other\\longer name.txt"}) {
    m_tree.AddFile(file, 1700000000);
  }
  m_tree.AddFolder("archive\\files");
  SaveBackupList(BackupListKey(),
                 {FolderEntry(m_tree.Path("src"), "*.*", "*.tmp"), CFileEntry{m_tree.Path("other\\longer name.txt")}});
  std::FILE* console = std::tmpfile();
  ASSERT_NE(console, nullptr);
  ProgressBar bar{console, true};
  const ComPtr<IBkQnService> service = NewService();
  const auto progress = ComPtr<ConsoleProgress>::Adopt(new ConsoleProgress(bar));
  const auto backuper = ComPtr<ArchiveBackuper>::Adopt(new ArchiveBackuper(m_tree.Path("archive"), bar));
  EXPECT_EQ(service->Backup(backuper.get(), progress.get()), S_OK);
  const std::vector<ArchiveObject>& objects = backuper->Objects();
  // A dry run over the same list lists the same files, with the sizes the copies got.
  const auto dry = ComPtr<DryRunBackuper>::Adopt(new DryRunBackuper(bar, true));
  EXPECT_EQ(service->Backup(dry.get(), progress.get()), S_OK);
  const auto listed = [](const std::vector<ArchiveObject>& all) {
    std::string text;
    for (const ArchiveObject& o : all) text += o.name + " " + std::to_string(ReadObjectFacts(o.options)->size) + "\n";
    return text;
  };
  EXPECT_EQ(listed(dry->Objects()), listed(objects));
  EXPECT_EQ(objects.size(), 3u);

  // The result, the files restored and the files that failed.
  const auto restore = [&](uint32_t overwrite, const char* destination) {
    SaveRestoreOptions(RestoreOptionsKey(), {m_tree.Path(destination), overwrite});
    const auto restorer = ComPtr<ArchiveRestorer>::Adopt(new ArchiveRestorer(m_tree.Path("archive"), objects, bar));
    const HRESULT result = service->Restore(restorer.get(), progress.get());
    return std::make_tuple(result, restorer->RestoredFiles(), restorer->FailedFiles());
  };
  EXPECT_EQ(restore(0, "out"), std::make_tuple(S_OK, 3, 0));
  EXPECT_EQ(Content(m_tree.Path("out\\a.txt")), "src\\a.txt\n");
  std::ofstream(m_tree.Path("out\\a.txt"), std::ios::binary) << "changed since";
  EXPECT_EQ(restore(0, "out"), std::make_tuple(S_OK, 0, 3));  // the module does not look at RestoreFile's result
  EXPECT_EQ(Content(m_tree.Path("out\\a.txt")), "changed since");
  EXPECT_EQ(restore(1, "out"), std::make_tuple(S_OK, 3, 0));
  EXPECT_EQ(Content(m_tree.Path("out\\a.txt")), "src\\a.txt\n");
  // A copy missing from the archive.
  ASSERT_TRUE(DeleteFileA(JoinPath(m_tree.Path("archive"), objects[0].copy).c_str()));
  EXPECT_EQ(restore(0, "lost"), std::make_tuple(E_FAIL, 0, 1));
  std::fclose(console);
}

}  // namespace
