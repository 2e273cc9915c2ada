#include "registry/registry_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/registry.h"
#include "registry/key_path.h"
#include "tests/registry/registry_fixture.h"

namespace {

using platform::RegistryRoot;

class RegistryStoreTest : public RegistryTest {
 protected:
  void SetRaw(const char* name, uint32_t type, const std::string& bytes) {
    const RegistryKey key = m_store.CreateKey(m_strPath);
    platform::SetRegistryValue(key.get(), name, type, reinterpret_cast<const uint8_t*>(bytes.data()),
                               static_cast<uint32_t>(bytes.size()));
  }

  CRegistryStore m_store;
};

TEST_F(RegistryStoreTest, OnlyFullRootNamesInAnyCaseReachAKey) {
  m_store.WriteString(m_strPath, "probe", "found");
  m_store.WriteString("HKCU\\" + m_strSubkey, "short", "x");
  m_store.WriteString("", "empty", "x");
  const std::pair<std::string, bool> paths[] = {
      {"hkey_current_user\\" + m_strSubkey, true}, {m_strPath + "\\", true},    {"HKCU\\" + m_strSubkey, false},
      {"HKEY_CURRENT_USERS\\" + m_strSubkey, false}, {"\\" + m_strPath, false}, {"HKEY_LOCAL_MACHINE\\" + m_strSubkey, false},
  };
  for (const auto& [path, reaches] : paths) EXPECT_EQ(m_store.ReadString(path, "probe"), reaches ? "found" : "") << path;
  EXPECT_EQ(ValueNames(), std::vector<std::string>{"probe"});

  // A root alone, with a trailing backslash, or before an empty level is the predefined key.
  const std::pair<std::string, RegistryRoot> roots[] = {
      {"HKEY_CURRENT_USER\\", RegistryRoot::kCurrentUser}, {"HKEY_CURRENT_USER\\\\" + m_strSubkey, RegistryRoot::kCurrentUser},
      {"hkey_dyn_data", RegistryRoot::kDynData},           {"HKEY_PERFORMANCE_DATA", RegistryRoot::kPerformanceData},
  };
  for (const auto& [path, root] : roots) EXPECT_EQ(m_store.OpenKey(path).get(), platform::PredefinedRegistryKey(root)) << path;
  EXPECT_EQ(m_store.EnumValue("HKEY_PERFORMANCE_DATA"), 0u);
  KeyPath parsed;
  EXPECT_FALSE(ParseKeyPath("HKCU\\Software", parsed));
}

// Each level is closed as soon as the next is open: no operation holds more than two keys, and
// none leaves one open.
TEST_F(RegistryStoreTest, WritesCreateMissingLevelsAndMissingThingsReadEmpty) {
  const int before = platform::OpenRegistryKeyCount();
  platform::ResetPeakOpenRegistryKeyCount();
  m_store.WriteString(m_strPath + "\\One\\Two", "text", "deep");
  m_store.WriteDword(m_strPath + "\\Other", "number", 0xDEADBEEF);
  EXPECT_EQ(m_store.ReadString(m_strPath + "\\one\\two\\", "TEXT"), "deep");
  EXPECT_EQ(m_store.ReadDword(m_strPath + "\\Other", "number"), 0xDEADBEEFu);
  const std::string tooLong = m_strPath + "\\" + std::string(300, 'k');
  m_store.WriteString(tooLong, "text", "x");
  for (const std::string& path : {m_strPath + "\\One", m_strPath + "\\Absent", m_strPath + "\\Other\\number", tooLong}) {
    EXPECT_EQ(m_store.ReadString(path, "text"), "") << path;
    EXPECT_EQ(m_store.ReadDword(path, "number"), 0u) << path;
  }
  std::string name = "untouched";
  EXPECT_EQ(m_store.EnumValue(m_strPath + "\\Absent", 0, &name), 0u);
  EXPECT_EQ(m_store.EnumValue(m_strPath + "\\Other", 1, &name), 1u);
  EXPECT_EQ(name, "untouched");
  m_store.ClearValues(m_strPath + "\\One\\Two");
  EXPECT_LE(platform::PeakOpenRegistryKeyCount(), before + 2);
  EXPECT_EQ(platform::OpenRegistryKeyCount(), before);
}

TEST_F(RegistryStoreTest, ReadsTakeOnlyWhatFitsTheirType) {
  SetRaw("one", platform::kRegBinary, "\x7F");
  SetRaw("four", platform::kRegBinary, std::string("\x01\x00\x00\x80", 4));
  SetRaw("eight", platform::kRegBinary, std::string(8, '\x01'));
  SetRaw("text", platform::kRegSz, std::string("ab\0cd", 6));
  EXPECT_EQ(m_store.ReadDword(m_strPath, "one"), 0x7Fu);
  EXPECT_EQ(m_store.ReadDword(m_strPath, "four"), 0x80000001u);
  EXPECT_EQ(m_store.ReadDword(m_strPath, "eight"), 0u) << "longer than a number";
  EXPECT_EQ(m_store.ReadDword(m_strPath, "text"), 0u);
  EXPECT_EQ(m_store.ReadString(m_strPath, "text"), "ab");
  EXPECT_EQ(m_store.ReadString(m_strPath, "four"), "\x01");
}

TEST_F(RegistryStoreTest, EnumValueNamesInTheRegistrysOrderAndClearValuesKeepsSubkeys) {
  m_store.WriteString(m_strPath, "Gamma", "x");
  m_store.WriteDword(m_strPath, "alpha", 1);
  m_store.WriteString(m_strPath, "Beta", "x");
  m_store.WriteString(m_strPath + "\\Sub", "kept", "yes");
  std::string name;
  uint32_t type = 0;
  EXPECT_EQ(m_store.EnumValue(m_strPath, 2, &name, &type), 3u);
  EXPECT_EQ(name, "Gamma");
  EXPECT_EQ(type, 1u);
  EXPECT_EQ(ValueNames(), (std::vector<std::string>{"alpha", "Beta", "Gamma"}));

  m_store.ClearValues(m_strPath);
  EXPECT_EQ(m_store.EnumValue(m_strPath), 0u);
  EXPECT_EQ(m_store.ReadString(m_strPath + "\\Sub", "kept"), "yes");
}

TEST_F(RegistryStoreTest, ClearValuesEndsWhenAValueCannotBeDeleted) {
  for (const char* name : {"file0", "file1", "file2"}) m_store.WriteString(m_strPath, name, "x");
  platform::SetUndeletableRegistryValueForTesting("file1");
  m_store.ClearValues(m_strPath);
  platform::SetUndeletableRegistryValueForTesting("");
  EXPECT_EQ(ValueNames(), std::vector<std::string>{"file1"});
}

}  // namespace
