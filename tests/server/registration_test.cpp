// regsvr32 on the built module, in the test prefix: what registration writes and what
// unregistration leaves.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "tests/server/module_under_test.h"
#include "tests/support/service_clsid.h"

namespace {

const char kProductKey[] = "SOFTWARE\\Korvel\\Tessarine";
const std::string kHostKey = std::string(kProductKey) + "\\" + kServiceClsid;
const char kTypeLibKey[] = "TypeLib\\{F34CB396-823E-42DA-9CB9-49F10E2CB01D}";

struct ClassKeys {
  std::string clsid, progId, text, shortText;
  bool visual, versioned;
};

const ClassKeys kClasses[] = {
    {"{2FC77467-E802-4432-8536-D056E970132B}", "BkQnFiles.BkQnFilesFolders",
     "BkQnFilesFolders class (backup files and folders visual class)", "BkQnFilesFolders Class", true, true},
    {"{96BA7CC3-BDFC-4CA0-8CFE-DEC9B60B32DC}", "BkQnFiles.RsQnFilesFolders",
     "RsQnFilesFolders Class (restore files and folders visual class)", "RsQnFilesFolders Class", true, false},
    {kServiceClsid, "BkQnFiles.BkQnFilesSrv",
     "BkQnFilesSrv class (backup files and folders non-visual class)", "BkQnFilesSrv Class", false, true},
};

class RegistrationTest : public testing::Test {
 protected:
  void TearDown() override { RunRegsvr32(true); }
};

TEST_F(RegistrationTest, WritesEveryKeyOfTheScript) {
  ASSERT_EQ(0u, RunRegsvr32(false));
  const std::string module = ModuleFile();
  EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kHostKey, "Name"), "Files and folders");
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::string(kTypeLibKey) + "\\2.1"));
  for (const ClassKeys& c : kClasses) {
    const std::string versioned = c.progId + ".1", key = "CLSID\\" + c.clsid;
    // Key, value name (null: the default value), data; no data: the key must not exist; empty
    // data: the key must exist.
    std::vector<std::tuple<std::string, const char*, std::optional<std::string>>> expected = {
        {versioned, nullptr, c.text}, {versioned + "\\CLSID", nullptr, c.clsid}, {c.progId, nullptr, c.text},
        {c.progId + "\\CLSID", nullptr, c.clsid}, {c.progId + "\\CurVer", nullptr, versioned},
        {key, nullptr, c.shortText}, {key + "\\ProgID", nullptr, versioned},
        {key + "\\VersionIndependentProgID", nullptr, c.progId}, {key + "\\InprocServer32", nullptr, module},
        {key + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {key + "\\TypeLib", nullptr, "{F34CB396-823E-42DA-9CB9-49F10E2CB01D}"},
        {key + "\\Version", nullptr, c.versioned ? std::optional<std::string>("2.1") : std::nullopt}};
    const auto visualOnly = [&](const std::string& data) { return c.visual ? std::optional(data) : std::nullopt; };
    for (const char* flagKey : {"\\Programmable", "\\Control", "\\Insertable"}) {
      expected.push_back({key + flagKey, nullptr, visualOnly("")});
    }
    expected.push_back({key + "\\ToolboxBitmap32", nullptr, visualOnly(module + ", 102")});
    expected.push_back({key + "\\MiscStatus", nullptr, visualOnly("0")});
    expected.push_back({key + "\\MiscStatus\\1", nullptr, visualOnly("131473")});
    for (const auto& [path, name, data] : expected) {
      EXPECT_EQ(KeyExists(HKEY_CLASSES_ROOT, path), data.has_value()) << path;
      if (!data || data->empty()) continue;
      EXPECT_EQ(ReadRegString(HKEY_CLASSES_ROOT, path, name), data) << path << " " << (name ? name : "(default)");
    }
  }
}

// The emptied maker and product keys go with the host key, unless something else lives there:
// a value of the product key or another client's key.
TEST_F(RegistrationTest, UnregistrationRemovesWhatRegistrationWroteAndNothingElse) {
  const bool makerKeyExisted = KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Korvel");
  const std::string otherClient = std::string(kProductKey) + "\\{00000000-1111-2222-3333-444444444444}";
  const std::pair<std::string, const char*> kOtherContent[] = {{"", nullptr}, {kProductKey, "InstallDir"},
                                                              {otherClient, "Name"}};
  for (const auto& [key, name] : kOtherContent) {
    ASSERT_EQ(0u, RunRegsvr32(false));
    ASSERT_TRUE(!name || RegSetKeyValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_SZ, "x", 2) == ERROR_SUCCESS);
    ASSERT_EQ(0u, RunRegsvr32(true));
    EXPECT_EQ(0u, RunRegsvr32(true));  // nothing left to remove is no failure
    for (const ClassKeys& c : kClasses) {
      for (const std::string& gone : {c.progId, c.progId + ".1", "CLSID\\" + c.clsid}) {
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, gone)) << gone;
      }
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kHostKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kTypeLibKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE"));
    if (name) {
      EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, key, name), "x") << key;
    }
    if (!makerKeyExisted) {
      EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Korvel"), name != nullptr) << key;
    }
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, makerKeyExisted ? kProductKey : "SOFTWARE\\Korvel");
  }
}

}  // namespace
