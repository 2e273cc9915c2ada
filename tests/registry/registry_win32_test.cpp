// What only the real registry can show: a name the ANSI calls cannot spell.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/unique_handles.h"
#include "registry/registry_store.h"
#include "tests/registry/registry_fixture.h"

namespace {

TEST_F(RegistryTest, ClearValuesEndsOnANameTheAnsiCallsCannotSpell) {
  const CRegistryStore store;
  store.WriteString(m_strPath, "file0", "x");
  store.WriteString(m_strPath, "file2", "x");
  {
    UniqueHkey key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, m_strSubkey.c_str(), 0, KEY_SET_VALUE, key.put()), ERROR_SUCCESS);
    // No ANSI code page holds a Tibetan letter: the name enumerates as "file?", which is no value.
    EXPECT_EQ(RegSetValueExW(key.get(), L"file\x0F40", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"x"), 4),
              ERROR_SUCCESS);
  }

  store.ClearValues(m_strPath);
  std::string name;
  EXPECT_EQ(store.EnumValue(m_strPath, 0, &name), 1u);
  EXPECT_EQ(name, "file?");
}

}  // namespace
