#include "server/registry_script_apply.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "server/registry_script.h"

namespace {

const char kScratch[] = "Software\\BkQnScriptTest";

class RegistryScriptApplyTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kScratch); }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kScratch); }

  static HRESULT Apply(const std::wstring& body, RegScriptMode mode) {
    std::vector<RegScriptRoot> roots;
    const std::wstring text = L"HKCU { NoRemove Software { " + body + L" } }";
    if (!ParseRegistryScript(text, roots)) return E_INVALIDARG;
    return ApplyRegistryScript(roots, mode);
  }
  static std::string Path(const std::string& relative) {
    return relative.empty() ? kScratch : std::string(kScratch) + "\\" + relative;
  }
  static bool Exists(const std::string& relative) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Path(relative).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  static std::string Read(const std::string& relative, const char* name) {
    char data[256] = {};
    DWORD size = sizeof data - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, Path(relative).c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size)) {
      return "(missing)";
    }
    return data;
  }
  static void Write(const std::string& relative, const char* name, const char* data) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CURRENT_USER, Path(relative).c_str(), name, REG_SZ, data,
                                             static_cast<DWORD>(strlen(data) + 1)));
  }
};

const wchar_t kScript[] =
    L"BkQnScriptTest {"
    L"  Plain = s 'plain' { Sub = s 'sub' { val Named = s 'n' } }"
    L"  NoRemove Kept { val Mine = s 'm' }"
    L"  ForceRemove Forced = s 'forced' { Inner }"
    L"}";

TEST_F(RegistryScriptApplyTest, RegisterWritesKeysAndValues) {
  ASSERT_EQ(Apply(kScript, RegScriptMode::kRegister), S_OK);
  EXPECT_EQ(Read("Plain", nullptr), "plain");
  EXPECT_EQ(Read("Plain\\Sub", nullptr), "sub");
  EXPECT_EQ(Read("Plain\\Sub", "Named"), "n");
  EXPECT_EQ(Read("Kept", "Mine"), "m");
  EXPECT_EQ(Read("Forced", nullptr), "forced");
  EXPECT_TRUE(Exists("Forced\\Inner"));
}

TEST_F(RegistryScriptApplyTest, RegisterClearsForceRemoveKeysOnly) {
  Write("Forced\\Old", nullptr, "stale");
  Write("Plain\\Other", nullptr, "foreign");
  ASSERT_EQ(Apply(kScript, RegScriptMode::kRegister), S_OK);
  EXPECT_FALSE(Exists("Forced\\Old"));
  EXPECT_EQ(Read("Plain\\Other", nullptr), "foreign");
}

TEST_F(RegistryScriptApplyTest, UnregisterRemovesOnlyWhatIsNotShared) {
  ASSERT_EQ(Apply(kScript, RegScriptMode::kRegister), S_OK);
  Write("Forced\\Foreign", nullptr, "goes with its ForceRemove parent");
  Write("Kept", "Foreign", "stays");
  ASSERT_EQ(Apply(kScript, RegScriptMode::kUnregister), S_OK);
  EXPECT_FALSE(Exists("Plain"));
  EXPECT_FALSE(Exists("Forced"));
  EXPECT_EQ(Read("Kept", "Mine"), "(missing)");
  EXPECT_EQ(Read("Kept", "Foreign"), "stays");
  EXPECT_TRUE(Exists(""));  // it still holds Kept
}

TEST_F(RegistryScriptApplyTest, UnregisterKeepsKeysHoldingForeignContent) {
  ASSERT_EQ(Apply(kScript, RegScriptMode::kRegister), S_OK);
  Write("Plain", "Foreign", "value");
  Write("Plain\\Sub\\Deeper", nullptr, "key");
  ASSERT_EQ(Apply(kScript, RegScriptMode::kUnregister), S_OK);
  EXPECT_EQ(Read("Plain", "Foreign"), "value");
  EXPECT_EQ(Read("Plain", nullptr), "(missing)");
  EXPECT_EQ(Read("Plain\\Sub", "Named"), "(missing)");
  EXPECT_TRUE(Exists("Plain\\Sub\\Deeper"));
}

TEST_F(RegistryScriptApplyTest, EmptiedPlainKeysGoToo) {
  ASSERT_EQ(Apply(L"BkQnScriptTest { Maker { Product { ForceRemove Client { val Name = s 'x' } } } }",
                  RegScriptMode::kRegister),
            S_OK);
  ASSERT_EQ(Apply(L"BkQnScriptTest { Maker { Product { ForceRemove Client { val Name = s 'x' } } } }",
                  RegScriptMode::kUnregister),
            S_OK);
  EXPECT_FALSE(Exists(""));
}

TEST_F(RegistryScriptApplyTest, UnregisteringAbsentKeysSucceeds) {
  EXPECT_EQ(Apply(kScript, RegScriptMode::kUnregister), S_OK);
  EXPECT_FALSE(Exists(""));
}

TEST_F(RegistryScriptApplyTest, UnknownRootWritesNothing) {
  std::vector<RegScriptRoot> roots;
  ASSERT_TRUE(ParseRegistryScript(L"HKCU { NoRemove Software { BkQnScriptTest } } HKXX { Key }", roots));
  EXPECT_HRESULT_FAILED(ApplyRegistryScript(roots, RegScriptMode::kRegister));
  EXPECT_FALSE(Exists(""));
}

}  // namespace
