// Registration: the script processor's placeholder, and regsvr32 on the built module in the test
// prefix: what registration writes and what unregistration leaves.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "server/registry_script.h"
#include "tests/server/module_under_test.h"
#include "tests/support/service_clsid.h"

namespace {

const char kProductKey[] = "SOFTWARE\\Korvel\\Tessarine";
const std::string kHostKey = std::string(kProductKey) + "\\" + kServiceClsid;
const char kTypeLibKey[] = "TypeLib\\{F34CB396-823E-42DA-9CB9-49F10E2CB01D}";

struct ClassKeys {
  std::string clsid, progId;
  bool visual, versioned;
};

const ClassKeys kClasses[] = {
    {"{2FC77467-E802-4432-8536-D056E970132B}", "BkQnFiles.BkQnFilesFolders", true, true},
    {"{96BA7CC3-BDFC-4CA0-8CFE-DEC9B60B32DC}", "BkQnFiles.RsQnFilesFolders", true, false},
    {kServiceClsid, "BkQnFiles.BkQnFilesSrv", false, true},
};

class RegistrationTest : public testing::Test {
 protected:
  void TearDown() override { RunRegsvr32(true); }
};

// Registered beside another client's key, then unregistered: the host key goes, the product
// key with the other client stays, and nothing else goes.
TEST_F(RegistrationTest, WritesTheScriptAndUnregistrationRemovesOnlyThat) {
  const std::string module = ModuleFile();
  const bool makerKeyExisted = KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Korvel");
  const std::string otherClient = std::string(kProductKey) + "\\{00000000-1111-2222-3333-444444444444}";
  ASSERT_EQ(0u, RunRegsvr32(false));
  EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kHostKey, "Name"), "Files and folders");
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::string(kTypeLibKey) + "\\2.1"));
  for (const ClassKeys& c : kClasses) {
    const std::string versioned = c.progId + ".1", key = "CLSID\\" + c.clsid;
    const auto visualOnly = [&](const std::string& data) { return c.visual ? std::optional(data) : std::nullopt; };
    // The default value's data; no data: the key must not exist; empty data: the key must exist.
    const std::pair<std::string, std::optional<std::string>> kExpected[] = {
        {versioned + "\\CLSID", c.clsid}, {c.progId + "\\CLSID", c.clsid}, {c.progId + "\\CurVer", versioned},
        {key + "\\ProgID", versioned}, {key + "\\VersionIndependentProgID", c.progId},
        {key + "\\InprocServer32", module}, {key + "\\TypeLib", "{F34CB396-823E-42DA-9CB9-49F10E2CB01D}"},
        {key + "\\Version", c.versioned ? std::optional<std::string>("2.1") : std::nullopt},
        {key + "\\Programmable", visualOnly("")}, {key + "\\Control", visualOnly("")},
        {key + "\\Insertable", visualOnly("")}, {key + "\\ToolboxBitmap32", visualOnly(module + ", 102")},
        {key + "\\MiscStatus\\1", visualOnly("131473")}};
    for (const auto& [path, data] : kExpected) {
      EXPECT_EQ(KeyExists(HKEY_CLASSES_ROOT, path), data.has_value()) << path;
      if (!data || data->empty()) continue;
      EXPECT_EQ(ReadRegString(HKEY_CLASSES_ROOT, path, nullptr), data) << path;
    }
    EXPECT_EQ(ReadRegString(HKEY_CLASSES_ROOT, key + "\\InprocServer32", "ThreadingModel"), "Apartment");
  }

  ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, otherClient.c_str(), "Name", REG_SZ, "x", 2), ERROR_SUCCESS);
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
  EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, otherClient, "Name"), "x");
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, makerKeyExisted ? kProductKey : "SOFTWARE\\Korvel");
}

// The path is put in after the script is read, so a quote or the placeholder in it is only text.
TEST(RegistryScriptTest, PlaceholderReplacedOnceWhereverItStands) {
  std::vector<RegScriptRoot> roots;
  ASSERT_TRUE(ParseRegistryScript(L"HKCU { K%MODULE% = s '%MODULE%, 102' { val V = s '%MODULE%' } }", roots));
  ReplaceInRegistryScript(roots, L"%MODULE%", L"C:\\Bob's %MODULE%\\m.dll");
  const RegScriptKey& key = roots[0].keys[0];
  EXPECT_EQ(key.name, L"KC:\\Bob's %MODULE%\\m.dll");
  EXPECT_EQ(key.defaultData, L"C:\\Bob's %MODULE%\\m.dll, 102");
  EXPECT_EQ(key.values[0].data, L"C:\\Bob's %MODULE%\\m.dll");
}

}  // namespace
