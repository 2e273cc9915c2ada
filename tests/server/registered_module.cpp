// Every test of this program talks to the module as COM clients do: registered in the test
// prefix, created by class identifier, on an apartment thread.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "tests/server/module_under_test.h"

namespace {

class RegisteredModule : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_EQ(0u, RunRegsvr32(false));
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  }
  void TearDown() override {
    CoUninitialize();
    RunRegsvr32(true);
  }
};

[[maybe_unused]] ::testing::Environment* const g_registered = ::testing::AddGlobalTestEnvironment(new RegisteredModule);

}  // namespace
