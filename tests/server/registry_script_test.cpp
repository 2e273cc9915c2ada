#include "server/registry_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<RegScriptRoot> Parse(const std::wstring& text) {
  std::vector<RegScriptRoot> roots;
  EXPECT_TRUE(ParseRegistryScript(text, roots)) << std::string(text.begin(), text.end());
  return roots;
}

TEST(RegistryScriptTest, ReadsKeysValuesAndMarks) {
  const auto roots = Parse(
      L"HKCR\n{\n"
      L"\tProg.Id = s 'Class text'\n\t{\n\t\tCLSID = s '{1-2}'\n\t}\n"
      L"\tNoRemove CLSID\n\t{\n"
      L"\t\tForceRemove {1-2} = s 'Short'\n\t\t{\n"
      L"\t\t\tInprocServer32 = s '%MODULE%'\n\t\t\t{\n\t\t\t\tval ThreadingModel = s 'Apartment'\n\t\t\t}\n"
      L"\t\t\tForceRemove 'Control'\n"
      L"\t\t}\n\t}\n}\n"
      L"HKLM { Empty { } }");
  ASSERT_EQ(roots.size(), 2u);
  EXPECT_EQ(roots[0].name, L"HKCR");
  ASSERT_EQ(roots[0].keys.size(), 2u);

  const RegScriptKey& progId = roots[0].keys[0];
  EXPECT_EQ(progId.name, L"Prog.Id");
  EXPECT_TRUE(progId.hasDefault);
  EXPECT_EQ(progId.defaultData, L"Class text");
  EXPECT_FALSE(progId.noRemove || progId.forceRemove);
  ASSERT_EQ(progId.subkeys.size(), 1u);
  EXPECT_EQ(progId.subkeys[0].defaultData, L"{1-2}");

  const RegScriptKey& clsid = roots[0].keys[1];
  EXPECT_TRUE(clsid.noRemove);
  EXPECT_FALSE(clsid.hasDefault);
  ASSERT_EQ(clsid.subkeys.size(), 1u);
  const RegScriptKey& classKey = clsid.subkeys[0];
  EXPECT_EQ(classKey.name, L"{1-2}");
  EXPECT_TRUE(classKey.forceRemove);
  ASSERT_EQ(classKey.subkeys.size(), 2u);
  const RegScriptKey& server = classKey.subkeys[0];
  EXPECT_EQ(server.defaultData, L"%MODULE%");
  ASSERT_EQ(server.values.size(), 1u);
  EXPECT_EQ(server.values[0].name, L"ThreadingModel");
  EXPECT_EQ(server.values[0].data, L"Apartment");
  EXPECT_EQ(classKey.subkeys[1].name, L"Control");
  EXPECT_TRUE(classKey.subkeys[1].forceRemove);
  EXPECT_FALSE(classKey.subkeys[1].hasDefault);

  EXPECT_EQ(roots[1].keys[0].name, L"Empty");
  EXPECT_TRUE(roots[1].keys[0].subkeys.empty());
}

TEST(RegistryScriptTest, KeywordsInAnyCaseButNeverQuoted) {
  const auto roots = Parse(L"HKCU { noremove A { VAL X = S 'y' } FORCEREMOVE B 'NoRemove' { 'val' } }");
  ASSERT_EQ(roots[0].keys.size(), 3u);
  EXPECT_TRUE(roots[0].keys[0].noRemove);
  ASSERT_EQ(roots[0].keys[0].values.size(), 1u);
  EXPECT_TRUE(roots[0].keys[1].forceRemove);
  EXPECT_EQ(roots[0].keys[2].name, L"NoRemove");
  EXPECT_FALSE(roots[0].keys[2].noRemove);
  ASSERT_EQ(roots[0].keys[2].subkeys.size(), 1u);
  EXPECT_EQ(roots[0].keys[2].subkeys[0].name, L"val");
}

TEST(RegistryScriptTest, DoubledQuoteInsideQuotes) {
  const auto roots = Parse(L"HKCU { 'It''s' = s 'a ''b'' c' { val '' = s '''' } }");
  const RegScriptKey& key = roots[0].keys[0];
  EXPECT_EQ(key.name, L"It's");
  EXPECT_EQ(key.defaultData, L"a 'b' c");
  EXPECT_EQ(key.values[0].name, L"");
  EXPECT_EQ(key.values[0].data, L"'");
}

TEST(RegistryScriptTest, BrokenScriptsAreRefused) {
  std::wstring deep = L"HKCU {";
  for (int i = 0; i < 40; ++i) deep += L" K {";
  for (int i = 0; i < 41; ++i) deep += L" }";
  const std::wstring broken[] = {
      L"HKCR",
      L"HKCR {",
      L"{ Key }",
      L"HKCR = s 'x' { }",
      L"HKCR { Key { }",
      L"HKCR { Key = 'x' }",
      L"HKCR { Key = s x }",
      L"HKCR { Key = d '1' }",
      L"HKCR { Key = s 'unterminated }",
      L"HKCR { {no-closing-brace }",
      L"HKCR { val Name = s 'at the root' }",
      L"HKCR { Key { val Name 'x' } }",
      L"HKCR { NoRemove }",
      L"HKCR { = }",
      L"HKCR { } }",
      deep,
  };
  for (const std::wstring& text : broken) {
    std::vector<RegScriptRoot> roots;
    EXPECT_FALSE(ParseRegistryScript(text, roots)) << std::string(text.begin(), text.end());
  }
}

TEST(RegistryScriptTest, PlaceholderReplacedInNamesAndData) {
  auto roots = Parse(L"HKCU { K%MODULE% = s '%MODULE%, 102' { val V = s '[%MODULE%%MODULE%]' } }");
  ReplaceInRegistryScript(roots, L"%MODULE%", L"C:\\Bob's %MODULE%\\m.dll");
  const RegScriptKey& key = roots[0].keys[0];
  EXPECT_EQ(key.name, L"KC:\\Bob's %MODULE%\\m.dll");
  EXPECT_EQ(key.defaultData, L"C:\\Bob's %MODULE%\\m.dll, 102");
  EXPECT_EQ(key.values[0].data, L"[C:\\Bob's %MODULE%\\m.dllC:\\Bob's %MODULE%\\m.dll]");
}

}  // namespace
