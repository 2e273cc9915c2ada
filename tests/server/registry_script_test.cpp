#include "server/registry_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(RegistryScriptTest, BrokenScriptsAreRefused) {
  std::wstring deep = L"HKCU {";
  for (int i = 0; i < 40; ++i) deep += L" K {";
  for (int i = 0; i < 41; ++i) deep += L" }";
  const std::wstring broken[] = {
      L"HKCR", L"HKCR {", L"{ Key }", L"HKCR { Key { }", L"HKCR { } }", L"HKCR { = }",
      L"HKCR { Key = 'x' }", L"HKCR { Key = s x }", L"HKCR { Key = d '1' }",
      L"HKCR { Key = s 'unterminated }", L"HKCR { {no-closing-brace }", L"HKCR { NoRemove }",
      L"HKCR { val Name = s 'at the root' }", L"HKCR { Key { val Name 'x' } }", deep,
  };
  for (const std::wstring& text : broken) {
    std::vector<RegScriptRoot> roots;
    EXPECT_FALSE(ParseRegistryScript(text, roots)) << std::string(text.begin(), text.end());
  }
}

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
