#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

// A key of its own per test under HKEY_CURRENT_USER\Software\BkQnTest (the real registry of
// the Wine prefix on Windows), removed with everything in it afterwards. A test fails when
// it leaves open a key it did not have open before.
class RegistryTest : public ::testing::Test {
 protected:
  RegistryTest();
  ~RegistryTest() override;
  void SetUp() override;
  void TearDown() override;

  // The names of the scratch key's values in the registry's order.
  std::vector<std::string> ValueNames() const;

  std::string m_strSubkey;  // below HKEY_CURRENT_USER, as the platform calls take it
  std::string m_strPath;    // "HKEY_CURRENT_USER\..." as the store takes it

 private:
  int m_nOpenBefore = 0;
};
