// regsvr32 on the built module, in the test prefix: what registration writes and what
// unregistration leaves.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/server/module_under_test.h"

namespace {

const char kHostKey[] = "SOFTWARE\\Korvel\\Tessarine\\{8EF0498D-1F92-406D-9C2D-CD35883C6581}";
const char kTypeLibKey[] = "TypeLib\\{F34CB396-823E-42DA-9CB9-49F10E2CB01D}";

struct ClassKeys {
  const char* clsid;
  const char* progId;
  const char* text;
  const char* shortText;
  bool visual;
  bool versioned;
};

const ClassKeys kClasses[] = {
    {"{2FC77467-E802-4432-8536-D056E970132B}", "BkQnFiles.BkQnFilesFolders",
     "BkQnFilesFolders class (backup files and folders visual class)", "BkQnFilesFolders Class", true, true},
    {"{96BA7CC3-BDFC-4CA0-8CFE-DEC9B60B32DC}", "BkQnFiles.RsQnFilesFolders",
     "RsQnFilesFolders Class (restore files and folders visual class)", "RsQnFilesFolders Class", true, false},
    {"{8EF0498D-1F92-406D-9C2D-CD35883C6581}", "BkQnFiles.BkQnFilesSrv",
     "BkQnFilesSrv class (backup files and folders non-visual class)", "BkQnFilesSrv Class", false, true},
};

struct ExpectedValue {
  std::string key;
  const char* name;  // null: the default value
  std::string data;
};

std::vector<ExpectedValue> ExpectedClassValues(const ClassKeys& c, const std::string& module) {
  const std::string progId = c.progId, versioned = progId + ".1", key = std::string("CLSID\\") + c.clsid;
  std::vector<ExpectedValue> values = {
      {versioned, nullptr, c.text},           {versioned + "\\CLSID", nullptr, c.clsid},
      {progId, nullptr, c.text},              {progId + "\\CLSID", nullptr, c.clsid},
      {progId + "\\CurVer", nullptr, versioned}, {key, nullptr, c.shortText},
      {key + "\\ProgID", nullptr, versioned},  {key + "\\VersionIndependentProgID", nullptr, progId},
      {key + "\\InprocServer32", nullptr, module},
      {key + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {key + "\\TypeLib", nullptr, "{F34CB396-823E-42DA-9CB9-49F10E2CB01D}"},
  };
  if (c.versioned) values.push_back({key + "\\Version", nullptr, "2.1"});
  if (c.visual) {
    values.push_back({key + "\\ToolboxBitmap32", nullptr, module + ", 102"});
    values.push_back({key + "\\MiscStatus", nullptr, "0"});
    values.push_back({key + "\\MiscStatus\\1", nullptr, "131473"});
  }
  return values;
}

class RegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override { makerKeyExisted_ = KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Korvel"); }
  void TearDown() override { RunRegsvr32(true); }

  bool makerKeyExisted_ = false;
};

TEST_F(RegistrationTest, WritesEveryKeyOfTheScript) {
  ASSERT_EQ(0u, RunRegsvr32(false));
  const std::string module = ModuleFile();
  EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kHostKey, "Name"), "Files and folders");
  for (const ClassKeys& c : kClasses) {
    for (const ExpectedValue& expected : ExpectedClassValues(c, module)) {
      EXPECT_EQ(ReadRegString(HKEY_CLASSES_ROOT, expected.key, expected.name), expected.data)
          << expected.key << " " << (expected.name ? expected.name : "(default)");
    }
    const std::string clsidKey = std::string("CLSID\\") + c.clsid;
    for (const char* flagKey : {"\\Programmable", "\\Control", "\\Insertable"}) {
      EXPECT_EQ(KeyExists(HKEY_CLASSES_ROOT, clsidKey + flagKey), c.visual) << clsidKey << flagKey;
    }
    if (!c.versioned) {
      EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, clsidKey + "\\Version")) << clsidKey;
    }
  }
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::string(kTypeLibKey) + "\\2.1"));
}

TEST_F(RegistrationTest, UnregistrationRemovesWhatRegistrationWrote) {
  ASSERT_EQ(0u, RunRegsvr32(false));
  ASSERT_EQ(0u, RunRegsvr32(true));
  EXPECT_EQ(0u, RunRegsvr32(true));  // nothing left to remove is no failure
  for (const ClassKeys& c : kClasses) {
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, c.progId)) << c.progId;
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string(c.progId) + ".1")) << c.progId;
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string("CLSID\\") + c.clsid)) << c.clsid;
  }
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kHostKey));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kTypeLibKey));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE"));
  // The emptied maker and product keys go too, unless something else lived there before.
  if (!makerKeyExisted_) {
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Korvel"));
  }
}

TEST_F(RegistrationTest, UnregistrationKeepsProductKeyHoldingOtherContent) {
  ASSERT_EQ(0u, RunRegsvr32(false));
  const char product[] = "SOFTWARE\\Korvel\\Tessarine";
  const char other[] = "{00000000-1111-2222-3333-444444444444}";
  ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_LOCAL_MACHINE, product, "InstallDir", REG_SZ, "C:\\", 4));
  ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_LOCAL_MACHINE, (std::string(product) + "\\" + other).c_str(),
                                           "Name", REG_SZ, "Other", 6));

  ASSERT_EQ(0u, RunRegsvr32(true));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kHostKey));
  EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, product, "InstallDir"), "C:\\");
  EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, std::string(product) + "\\" + other, "Name"), "Other");

  RegDeleteTreeA(HKEY_LOCAL_MACHINE, product);
}

}  // namespace
