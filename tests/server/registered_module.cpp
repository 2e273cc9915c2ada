#include "tests/server/registered_module.h"

#include <windows.h>
#include <objbase.h>

#include "bkqnfiles.h"
#include "tests/server/module_under_test.h"
#include "tests/server/task_memory.h"

namespace {

// The references the service's class object holds with nobody using it; 0 when it cannot be had.
ULONG IdleClassObjectReferences() {
  IClassFactory* factory = nullptr;
  const HRESULT got = ModuleGetClassObject(CLSID_BkQnFilesSrv, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  return SUCCEEDED(got) ? factory->Release() : 0;
}

ULONG g_idleClassObjectReferences = 0;

class RegisteredModule : public testing::Environment {
 public:
  void SetUp() override {
    ASSERT_EQ(0u, RunRegsvr32(false));
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ASSERT_TRUE(task_memory::Watch()) << "no malloc spy, or oleaut32 cannot turn its string cache off";
    g_idleClassObjectReferences = IdleClassObjectReferences();
    ASSERT_NE(g_idleClassObjectReferences, 0u);
  }
  void TearDown() override {
    CoRevokeMallocSpy();
    CoUninitialize();
    RunRegsvr32(true);
  }
};

[[maybe_unused]] testing::Environment* const g_registered = testing::AddGlobalTestEnvironment(new RegisteredModule);

}  // namespace

ModuleTest::~ModuleTest() {
  EXPECT_EQ(ModuleCanUnloadNow(), S_OK) << "an object or server lock of the module outlived the test";
  EXPECT_EQ(IdleClassObjectReferences(), g_idleClassObjectReferences) << "a class object reference outlived the test";
}
