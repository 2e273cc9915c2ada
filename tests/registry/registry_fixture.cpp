#include "tests/registry/registry_fixture.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "platform/registry.h"
#include "registry/registry_store.h"

namespace {

void DeleteUnderCurrentUser(const std::string& subkey) {
  platform::DeleteRegistryTree(platform::PredefinedRegistryKey(platform::RegistryRoot::kCurrentUser), subkey.c_str());
}

}  // namespace

RegistryTest::RegistryTest() {
#ifdef _WIN32
  const unsigned long process = GetCurrentProcessId();
#else
  const unsigned long process = static_cast<unsigned long>(getpid());
#endif
  static unsigned counter = 0;
  m_strSubkey = "Software\\BkQnTest\\" + std::to_string(process) + "-" + std::to_string(++counter);
  m_strPath = "HKEY_CURRENT_USER\\" + m_strSubkey;
  DeleteUnderCurrentUser(m_strSubkey);  // left by a run that died before cleaning up
}

RegistryTest::~RegistryTest() { DeleteUnderCurrentUser(m_strSubkey); }

void RegistryTest::SetUp() { m_nOpenBefore = platform::OpenRegistryKeyCount(); }

void RegistryTest::TearDown() {
  EXPECT_EQ(platform::OpenRegistryKeyCount(), m_nOpenBefore) << "a registry key was left open";
}

std::vector<std::string> RegistryTest::ValueNames() const {
  const CRegistryStore store;
  std::vector<std::string> names(store.EnumValue(m_strPath));
  for (size_t i = 0; i < names.size(); ++i) store.EnumValue(m_strPath, static_cast<int32_t>(i), &names[i]);
  return names;
}
