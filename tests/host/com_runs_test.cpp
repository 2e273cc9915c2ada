// Backup and Restore of the registered module, created by class identifier, talking to host
// objects of this program: the whole conversation, and every reference given back.
#include <gtest/gtest.h>

#include "model/settings_store.h"
#include "registry/registry_store.h"
#include "tests/host/recording_com_host.h"
#include "tests/support/temp_tree.h"

namespace {

const std::string kClsid = "{8EF0498D-1F92-406D-9C2D-CD35883C6581}";
const std::string kClient = "Files and folders";
constexpr int64_t kSomeTime = 1700000000;

// "@" in a case's texts stands for the root of the case's own temporary tree.
std::string Rooted(std::string text, const std::string& root) {
  for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + root.size())) {
    text.replace(at, 1, root);
  }
  return text;
}

ComPtr<IBkQnService> NewService() {
  ComPtr<IBkQnService> service;
  EXPECT_HRESULT_SUCCEEDED(
      CoCreateInstance(CLSID_BkQnFilesSrv, nullptr, CLSCTX_INPROC_SERVER, IID_IBkQnService, service.PutVoid()));
  return service;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// ---- Backup -------------------------------------------------------------------------------

BackupEntry Folder(const std::string& path, bool recursive, const std::string& masks = "*.*") {
  CFolderEntry entry;
  entry.m_strPath = path;
  entry.m_bRecursive = recursive ? 1 : 0;
  entry.m_strIncludeMasks = masks;
  return entry;
}

BackupEntry File(const std::string& path) {
  CFileEntry entry;
  entry.m_strPath = path;
  return entry;
}

std::string BackedUp(const std::string& path, const std::string& localName) {
  return Call("BackupFile", {path, localName, "File Backup", "1", "-1"});
}

struct BackupCase {
  const char* name;
  BackupList entries;
  std::map<std::string, std::optional<std::string>> failing;  // path: the host's error text
  CallLog calls;
  HRESULT result;
};

// The tree: A.txt, b.txt, sub\c.doc, sub\d.tmp.
const BackupList kTopTextsAndSub = {Folder("@", false, "*.txt"), File("@sub\\c.doc")};

const BackupCase kBackupCases[] = {
    {"SortedAndEachFileOnce",
     {Folder("@sub", true), File("@B.TXT"), Folder("@", false, "*.txt"), File("@sub\\c.doc")},
     {},
     {Call("BeginClient", {kClient, kClsid, "4"}), BackedUp("@A.txt", "A.txt"), BackedUp("@B.TXT", "B.TXT"),
      BackedUp("@sub\\c.doc", "c.doc"), BackedUp("@sub\\d.tmp", "d.tmp"), Call("EndClient", {"0"})},
     S_OK},
    {"OneOfThreeFails",
     kTopTextsAndSub,
     {{"@b.txt", "b.txt is locked"}},
     {Call("BeginClient", {kClient, kClsid, "3"}), BackedUp("@A.txt", "A.txt"), BackedUp("@b.txt", "b.txt"),
      Call("GetLastError"), Call("Message", {"b.txt is locked"}), BackedUp("@sub\\c.doc", "c.doc"),
      Call("EndClient", {"0"})},
     E_FAIL},
    {"NullErrorTextIsPostedEmpty",
     kTopTextsAndSub,
     {{"@sub\\c.doc", std::nullopt}},
     {Call("BeginClient", {kClient, kClsid, "3"}), BackedUp("@A.txt", "A.txt"), BackedUp("@b.txt", "b.txt"),
      BackedUp("@sub\\c.doc", "c.doc"), Call("GetLastError"), Call("Message", {""}), Call("EndClient", {"0"})},
     E_FAIL},
    {"AllFail",
     kTopTextsAndSub,
     {{"@A.txt", "a"}, {"@b.txt", "b"}, {"@sub\\c.doc", "c"}},
     {Call("BeginClient", {kClient, kClsid, "3"}), BackedUp("@A.txt", "A.txt"), Call("GetLastError"),
      Call("Message", {"a"}), BackedUp("@b.txt", "b.txt"), Call("GetLastError"), Call("Message", {"b"}),
      BackedUp("@sub\\c.doc", "c.doc"), Call("GetLastError"), Call("Message", {"c"}), Call("EndClient", {"1"})},
     E_FAIL},
    {"EmptyList",
     {},
     {},
     {Call("BeginClient", {kClient, kClsid, "0"}), Call("Message", {"No files to backup."}), Call("EndClient", {"1"})},
     S_OK},
};

void PrintTo(const BackupCase& c, std::ostream* os) { *os << c.name; }

class ComBackupTest : public testing::TestWithParam<BackupCase> {};

TEST_P(ComBackupTest, TalksToTheHostAndGivesBackItsReferences) {
  const BackupCase& c = GetParam();
  TempTree tree;
  for (const char* file : {"A.txt", "b.txt", "sub\\c.doc", "sub\\d.tmp"}) tree.AddFile(file, kSomeTime);
  BackupList entries = c.entries;
  for (BackupEntry& entry : entries) {
    std::visit([&](auto& e) { e.m_strPath = Rooted(e.m_strPath, tree.Root()); }, entry);
  }
  SaveBackupList(BackupListKey(), entries);
  std::map<std::string, std::optional<std::string>> failing;
  for (const auto& [path, text] : c.failing) failing[Rooted(path, tree.Root())] = text;

  CallLog log;
  const auto backuper = ComPtr<RecordingBackuper>::Adopt(new RecordingBackuper(log, failing));
  const auto progress = ComPtr<RecordingProgress>::Adopt(new RecordingProgress(log));
  EXPECT_EQ(NewService()->Backup(backuper.Get(), progress.Get()), c.result);

  CallLog expected;
  for (const std::string& call : c.calls) expected.push_back(Rooted(call, tree.Root()));
  EXPECT_EQ(log, expected);
  EXPECT_EQ(backuper->References(), 1u);
  EXPECT_EQ(progress->References(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, ComBackupTest, testing::ValuesIn(kBackupCases),
                         [](const testing::TestParamInfo<BackupCase>& info) { return info.param.name; });

// Script hosts reach the host objects by name, through the module's registered type library.
TEST(HostDispatchTest, NamesAndCallsGoThroughTheTypeLibrary) {
  CallLog log;
  const auto backuper = ComPtr<RecordingBackuper>::Adopt(new RecordingBackuper(log, {}));
  wchar_t name[] = L"EndClient";
  LPOLESTR names[] = {name};
  DISPID id = 0;
  ASSERT_EQ(backuper->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  EXPECT_EQ(id, 5);

  VARIANT argument;
  VariantInit(&argument);
  V_VT(&argument) = VT_I4;
  V_I4(&argument) = 1;
  DISPPARAMS params = {&argument, nullptr, 1, 0};
  // The recording EndClient fails, which automation reports as an exception.
  EXPECT_EQ(backuper->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
            DISP_E_EXCEPTION);
  EXPECT_EQ(log, CallLog{Call("EndClient", {"1"})});
}

// ---- Restore ------------------------------------------------------------------------------

// Object options as a host stores them: a 28-byte header the module must not read, then
// the name and its zero byte.
std::vector<uint8_t> Naming(const std::string& name) {
  const std::string bytes = std::string(28, '\xAB') + name + '\0';
  return {bytes.begin(), bytes.end()};
}

RecordedObject FileObject(const std::string& name, std::vector<uint8_t> options = {}) {
  RecordedObject object;
  object.name = name;
  object.options = std::move(options);
  return object;
}

struct RestoreCase {
  std::string name;
  std::string destination;
  std::optional<uint32_t> overwrite;  // nullopt: no "Overwrite" value stored
  RestorerScript script;
  CallLog calls;  // after Iterate
  HRESULT result;
  std::vector<std::string> folders = {};  // made on disk by the run
};

std::string Restored(const std::string& target, const char* option) {
  return Call("RestoreFile", {target, option, "-1"});
}

const std::string kIsEnd = Call("IsEnd");
const std::string kInfo = Call("GetObjectInfo");
const std::string kOptions = Call("GetObjectOptions");
const std::string kNext = Call("Next");

std::vector<RestoreCase> RestoreCases() {
  RecordedObject raisesFailure = FileObject("@a.txt");
  raisesFailure.raises = E_ACCESSDENIED;
  RecordedObject raisesSuccess = FileObject("@a.txt");
  raisesSuccess.raises = S_FALSE;
  RecordedObject infoFails = FileObject("@a.txt");
  infoFails.infoResult = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  RecordedObject registryKey = FileObject("HKEY_CURRENT_USER\\x");
  registryKey.type = 1;
  RecordedObject otherKind = FileObject("@b.txt");
  otherKind.type = 7;
  RestorerScript iterateFails;
  iterateFails.iterateResult = E_ACCESSDENIED;
  RestorerScript isEndFails{{FileObject("@a.txt")}};
  isEndFails.isEndResult = E_FAIL;

  std::vector<RestoreCase> cases = {
      {"OriginalPlaceWithFoldersMade", "", 1u, {{FileObject("@deep\\er\\f.txt")}},
       {kIsEnd, kInfo, Restored("@deep\\er\\f.txt", "1"), kNext, kIsEnd}, S_OK, {"deep", "deep\\er"}},
      {"DestinationWithoutBackslash", "@out", 1u, {{FileObject("C:\\from\\report.doc", Naming("report.doc"))}},
       {kIsEnd, kInfo, kOptions, Restored("@out\\report.doc", "1"), kNext, kIsEnd}, S_OK, {"out"}},
      {"DestinationWithBackslash", "@out\\", 0u, {{FileObject("C:\\from\\report.doc", Naming("report.doc"))}},
       {kIsEnd, kInfo, kOptions, Restored("@out\\report.doc", "0"), kNext, kIsEnd}, S_OK, {"out"}},
      {"OverwriteMissingPassesZero", "@out", std::nullopt, {{FileObject("C:\\from\\a.doc", Naming("a.doc"))}},
       {kIsEnd, kInfo, kOptions, Restored("@out\\a.doc", "0"), kNext, kIsEnd}, S_OK},
      {"NonFileObjectsPassedOver", "@out", 1u, {{registryKey, otherKind}},
       {kIsEnd, kInfo, kNext, kIsEnd, kInfo, kNext, kIsEnd}, S_OK},
      {"EmptyArchive", "", 0u, {}, {kIsEnd}, S_OK},
      {"IterateFails", "", 0u, iterateFails, {}, E_ACCESSDENIED},
      {"IsEndFails", "", 0u, isEndFails, {kIsEnd}, S_OK},
      {"ObjectInfoFails", "", 0u, {{infoFails, FileObject("@b.txt")}}, {kIsEnd, kInfo},
       HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
      {"QnErrorWithFailureStops", "", 0u, {{raisesFailure, FileObject("@b.txt")}},
       {kIsEnd, kInfo, Restored("@a.txt", "0")}, E_FAIL},
      {"QnErrorWithSuccessGoesOn", "", 0u, {{raisesSuccess, FileObject("@b.txt")}},
       {kIsEnd, kInfo, Restored("@a.txt", "0"), kNext, kIsEnd, kInfo, Restored("@b.txt", "0"), kNext, kIsEnd}, S_OK},
  };

  // Objects whose stored name cannot be used under a destination are passed over, and the
  // run goes on with the next object.
  struct Malformed {
    const char* name;
    OptionsForm form;
    std::vector<uint8_t> options;
  };
  const std::vector<uint8_t> header(28, 0xAB);
  std::vector<uint8_t> noZero = Naming("a.d");
  noZero.pop_back();
  const Malformed malformed[] = {
      {"Options28Bytes", OptionsForm::kBytes, header},
      {"OptionsShort", OptionsForm::kBytes, std::vector<uint8_t>(10, 0x41)},
      {"OptionsWithoutZeroByte", OptionsForm::kBytes, noZero},
      {"OptionsFail", OptionsForm::kFails, Naming("a.doc")},
      {"OptionsNotBytes", OptionsForm::kText, Naming("a.doc")},
      {"OptionsTwoDimensions", OptionsForm::kTwoDimensions, Naming("a.doc")},
      {"NameEmpty", OptionsForm::kBytes, Naming("")},
      {"NameDot", OptionsForm::kBytes, Naming(".")},
      {"NameDotDot", OptionsForm::kBytes, Naming("..")},
      {"NameWithBackslash", OptionsForm::kBytes, Naming("..\\a.doc")},
      {"NameWithSlash", OptionsForm::kBytes, Naming("../a.doc")},
      {"NameWithColon", OptionsForm::kBytes, Naming("C:a.doc")},
  };
  for (const Malformed& m : malformed) {
    RecordedObject bad = FileObject("C:\\from\\a.doc", m.options);
    bad.form = m.form;
    cases.push_back({std::string("Skips") + m.name, "@out", 0u, {{bad, FileObject("C:\\from\\good.doc", Naming("good.doc"))}},
                     {kIsEnd, kInfo, kOptions, kNext, kIsEnd, kInfo, kOptions, Restored("@out\\good.doc", "0"), kNext,
                      kIsEnd},
                     S_OK});
  }
  return cases;
}

void StoreRestoreOptions(const std::string& destination, std::optional<uint32_t> overwrite) {
  if (overwrite) {
    SaveRestoreOptions(RestoreOptionsKey(), {destination, *overwrite});
    return;
  }
  const CRegistryStore store;
  store.ClearValues(RestoreOptionsKey());
  store.WriteString(RestoreOptionsKey(), "Destination", destination);
}

void PrintTo(const RestoreCase& c, std::ostream* os) { *os << c.name; }

class ComRestoreTest : public testing::TestWithParam<RestoreCase> {};

TEST_P(ComRestoreTest, TalksToTheHostAndGivesBackItsReferences) {
  const RestoreCase& c = GetParam();
  TempTree tree;
  StoreRestoreOptions(Rooted(c.destination, tree.Root()), c.overwrite);
  RestorerScript script = c.script;
  for (RecordedObject& object : script.objects) object.name = Rooted(object.name, tree.Root());

  CallLog log;
  const auto restorer = ComPtr<RecordingRestorer>::Adopt(new RecordingRestorer(log, script));
  const auto progress = ComPtr<RecordingProgress>::Adopt(new RecordingProgress(log));
  EXPECT_EQ(NewService()->Restore(restorer.Get(), progress.Get()), c.result);

  CallLog expected = {Call("Iterate", {kClsid})};
  for (const std::string& call : c.calls) expected.push_back(Rooted(call, tree.Root()));
  EXPECT_EQ(log, expected);
  for (const std::string& folder : c.folders) EXPECT_TRUE(IsFolder(tree.Path(folder))) << folder;
  EXPECT_EQ(restorer->References(), 1u);
  EXPECT_EQ(progress->References(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, ComRestoreTest, testing::ValuesIn(RestoreCases()),
                         [](const testing::TestParamInfo<RestoreCase>& info) { return info.param.name; });

}  // namespace
