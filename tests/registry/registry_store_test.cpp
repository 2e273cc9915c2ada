#include "registry/registry_store.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "tests/registry/registry_fixture.h"

namespace {

using platform::RegistryRoot;

class RegistryStoreTest : public RegistryTest {
 protected:
  void SetRaw(const char* name, uint32_t type, const std::string& bytes) {
    const RegistryKey key = store_.CreateKey(path_);
    platform::SetRegistryValue(key.get(), name, type, reinterpret_cast<const uint8_t*>(bytes.data()),
                               static_cast<uint32_t>(bytes.size()));
  }

  CRegistryStore store_;
};

TEST_F(RegistryStoreTest, OnlyFullRootNamesInAnyCaseReachAKey) {
  store_.WriteString(path_, "probe", "found");
  store_.WriteString("HKCU\\" + subkey_, "short", "x");
  store_.WriteString("", "empty", "x");
  const std::pair<std::string, bool> paths[] = {
      {"hkey_current_user\\" + subkey_, true}, {path_ + "\\", true},    {"HKCU\\" + subkey_, false},
      {"HKEY_CURRENT_USERS\\" + subkey_, false}, {"\\" + path_, false}, {"HKEY_LOCAL_MACHINE\\" + subkey_, false},
  };
  for (const auto& [path, reaches] : paths) EXPECT_EQ(store_.ReadString(path, "probe"), reaches ? "found" : "") << path;
  EXPECT_EQ(ValueNames(), std::vector<std::string>{"probe"});

  // A root alone, with a trailing backslash, or before an empty level is the predefined key.
  const std::pair<std::string, RegistryRoot> roots[] = {
      {"HKEY_CURRENT_USER\\", RegistryRoot::kCurrentUser}, {"HKEY_CURRENT_USER\\\\" + subkey_, RegistryRoot::kCurrentUser},
      {"hkey_dyn_data", RegistryRoot::kDynData},           {"HKEY_PERFORMANCE_DATA", RegistryRoot::kPerformanceData},
  };
  for (const auto& [path, root] : roots) EXPECT_EQ(store_.OpenKey(path).get(), platform::PredefinedRegistryKey(root)) << path;
  EXPECT_EQ(store_.EnumValue("HKEY_PERFORMANCE_DATA"), 0u);
}

TEST_F(RegistryStoreTest, WritesCreateMissingLevelsAndMissingThingsReadEmpty) {
  store_.WriteString(path_ + "\\One\\Two", "text", "deep");
  store_.WriteDword(path_ + "\\Other", "number", 0xDEADBEEF);
  EXPECT_EQ(store_.ReadString(path_ + "\\one\\two\\", "TEXT"), "deep");
  EXPECT_EQ(store_.ReadDword(path_ + "\\Other", "number"), 0xDEADBEEFu);
  const std::string tooLong = path_ + "\\" + std::string(300, 'k');
  store_.WriteString(tooLong, "text", "x");
  for (const std::string& path : {path_ + "\\One", path_ + "\\Absent", path_ + "\\Other\\number", tooLong}) {
    EXPECT_EQ(store_.ReadString(path, "text") + std::to_string(store_.ReadDword(path, "number")), "0") << path;
  }
  std::string name = "untouched";
  EXPECT_EQ(store_.EnumValue(path_ + "\\Absent", 0, &name) + store_.EnumValue(path_ + "\\Other", 1, &name), 1u);
  EXPECT_EQ(name, "untouched");
}

TEST_F(RegistryStoreTest, ReadsTakeOnlyWhatFitsTheirType) {
  SetRaw("one", platform::kRegBinary, "\x7F");
  SetRaw("four", platform::kRegBinary, std::string("\x01\x00\x00\x80", 4));
  SetRaw("eight", platform::kRegBinary, std::string(8, '\x01'));
  SetRaw("text", platform::kRegSz, std::string("ab\0cd", 6));
  EXPECT_EQ(store_.ReadDword(path_, "one"), 0x7Fu);
  EXPECT_EQ(store_.ReadDword(path_, "four"), 0x80000001u);
  EXPECT_EQ(store_.ReadDword(path_, "eight"), 0u) << "longer than a number";
  EXPECT_EQ(store_.ReadDword(path_, "text"), 0u);
  EXPECT_EQ(store_.ReadString(path_, "text"), "ab");
  EXPECT_EQ(store_.ReadString(path_, "four"), "\x01");
}

TEST_F(RegistryStoreTest, EnumValueNamesInTheRegistrysOrderAndClearValuesKeepsSubkeys) {
  store_.WriteString(path_, "Gamma", "x");
  store_.WriteDword(path_, "alpha", 1);
  store_.WriteString(path_, "Beta", "x");
  store_.WriteString(path_ + "\\Sub", "kept", "yes");
  std::string name;
  uint32_t type = 0;
  EXPECT_EQ(store_.EnumValue(path_, 2, &name, &type), 3u);
  EXPECT_EQ(name + std::to_string(type), "Gamma1");
  EXPECT_EQ(ValueNames(), (std::vector<std::string>{"alpha", "Beta", "Gamma"}));

  store_.ClearValues(path_);
  EXPECT_EQ(store_.EnumValue(path_), 0u);
  EXPECT_EQ(store_.ReadString(path_ + "\\Sub", "kept"), "yes");
}

TEST_F(RegistryStoreTest, ClearValuesEndsWhenAValueCannotBeDeleted) {
  for (const char* name : {"file0", "file1", "file2"}) store_.WriteString(path_, name, "x");
  platform::SetUndeletableRegistryValueForTesting("file1");
  store_.ClearValues(path_);
  platform::SetUndeletableRegistryValueForTesting("");
  EXPECT_EQ(ValueNames(), std::vector<std::string>{"file1"});
}

TEST_F(RegistryStoreTest, EveryOperationClosesWhatItOpensAndHoldsAtMostTwoKeys) {
  const std::string deep = path_ + "\\1\\2\\3\\4\\5\\6\\7\\8";
  std::string name;
  const std::function<void()> operations[] = {
      [&] { store_.WriteString(deep, "text", "x"); }, [&] { store_.WriteDword(deep, "number", 5); },
      [&] { store_.ReadString(deep, "text"); },        [&] { store_.ReadDword(deep, "number"); },
      [&] { store_.EnumValue(deep, 0, &name); },       [&] { store_.ClearValues(deep); },
      [&] { store_.ReadString(path_ + "\\1\\x\\3", "text"); },
  };
  for (size_t i = 0; i < std::size(operations); ++i) {
    const int before = platform::OpenRegistryKeyCount();
    platform::ResetPeakOpenRegistryKeyCount();
    operations[i]();
    EXPECT_EQ(platform::OpenRegistryKeyCount(), before) << "operation " << i;
    EXPECT_LE(platform::PeakOpenRegistryKeyCount(), before + 2) << "operation " << i;
  }
}

}  // namespace
