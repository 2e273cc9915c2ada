#include "tests/server/registered_module.h"

#include <windows.h>
#include <objbase.h>

#include <string>

#include "bkqnfiles.h"
#include "platform/win32/unique_handles.h"
#include "server/module_type_library.h"
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

// The program's own HKEY_CURRENT_USER, a key of its own under the real one, so that the
// settings the tests write never touch the user's: the module in this process reads and
// writes through it too. Removed with everything in it when the program ends.
const char kPrivateParent[] = "Software\\BkQnTest";
const std::string kPrivateUser = std::string(kPrivateParent) + "\\user-" + std::to_string(GetCurrentProcessId());
UniqueHkey g_privateUser;

class RegisteredModule : public testing::Environment {
 public:
  void SetUp() override {
    ASSERT_EQ(0u, RunRegsvr32(false));
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kPrivateUser.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, g_privateUser.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, g_privateUser.get()), ERROR_SUCCESS);
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ASSERT_TRUE(task_memory::Watch()) << "no malloc spy, or oleaut32 cannot turn its string cache off";
    g_idleClassObjectReferences = IdleClassObjectReferences();
    ASSERT_NE(g_idleClassObjectReferences, 0u);
  }
  void TearDown() override {
    ReleaseModuleTypeInfo();  // this program's, for the host objects of its tests
    CoRevokeMallocSpy();
    CoUninitialize();
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    g_privateUser.reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, kPrivateUser.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, kPrivateParent);  // only when nothing else is left in it
    RunRegsvr32(true);
  }
};

[[maybe_unused]] testing::Environment* const g_registered = testing::AddGlobalTestEnvironment(new RegisteredModule);

}  // namespace

ModuleTest::~ModuleTest() {
  EXPECT_EQ(ModuleCanUnloadNow(), S_OK) << "an object or server lock of the module outlived the test";
  EXPECT_EQ(IdleClassObjectReferences(), g_idleClassObjectReferences) << "a class object reference outlived the test";
}
