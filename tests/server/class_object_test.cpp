// The module's entry points and class objects, reached through LoadLibrary the way COM does.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "bkqnfiles.h"
#include "server/com_ptr.h"
#include "tests/server/module_under_test.h"

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

class ClassObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA(ModuleFile().c_str());
    ASSERT_NE(module_, nullptr);
    getClassObject_ = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
    canUnloadNow_ = reinterpret_cast<CanUnloadNowFn>(reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
    ASSERT_TRUE(getClassObject_ && canUnloadNow_);
    ASSERT_HRESULT_SUCCEEDED(getClassObject_(CLSID_BkQnFilesSrv, IID_IClassFactory, factory_.PutVoid()));
  }
  void TearDown() override {
    factory_.Reset();
    if (module_) FreeLibrary(module_);
  }

  HMODULE module_ = nullptr;
  GetClassObjectFn getClassObject_ = nullptr;
  CanUnloadNowFn canUnloadNow_ = nullptr;
  ComPtr<IClassFactory> factory_;
};

TEST_F(ClassObjectTest, LookupAndCreationFailures) {
  const CLSID unknownClass = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
  void* out = &out;
  EXPECT_EQ(getClassObject_(CLSID_BkQnFilesSrv, IID_IClassFactory, nullptr), E_INVALIDARG);
  EXPECT_EQ(getClassObject_(unknownClass, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  // The visual controls are registered but not served yet.
  EXPECT_EQ(getClassObject_(CLSID_BkQnFilesFolders, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(getClassObject_(CLSID_RsQnFilesFolders, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);

  IUnknown* outer = factory_.Get();  // any object will do: it is refused before use
  EXPECT_EQ(factory_->CreateInstance(nullptr, IID_IBkQnService, nullptr), E_POINTER);
  EXPECT_EQ(factory_->CreateInstance(outer, IID_IBkQnService, &out), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(factory_->CreateInstance(nullptr, IID_IClassFactory, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(canUnloadNow_(), S_OK);  // the object that did not answer is gone again
}

TEST_F(ClassObjectTest, UnloadWaitsForObjectsAndLocks) {
  // The class object is kept, and holding it does not keep the module loaded.
  ComPtr<IClassFactory> again;
  ASSERT_HRESULT_SUCCEEDED(getClassObject_(CLSID_BkQnFilesSrv, IID_IClassFactory, again.PutVoid()));
  EXPECT_EQ(again.Get(), factory_.Get());
  EXPECT_EQ(canUnloadNow_(), S_OK);

  ComPtr<IBkQnService> service;
  ASSERT_HRESULT_SUCCEEDED(
      CoCreateInstance(CLSID_BkQnFilesSrv, nullptr, CLSCTX_INPROC_SERVER, IID_IBkQnService, service.PutVoid()));
  EXPECT_EQ(canUnloadNow_(), S_FALSE);
  service.Reset();
  EXPECT_EQ(canUnloadNow_(), S_OK);

  factory_->LockServer(TRUE);
  factory_->LockServer(TRUE);
  factory_->LockServer(FALSE);
  EXPECT_EQ(canUnloadNow_(), S_FALSE);
  factory_->LockServer(FALSE);
  EXPECT_EQ(canUnloadNow_(), S_OK);
  // An unmatched unlock leaves the count owing nothing.
  factory_->LockServer(FALSE);
  factory_->LockServer(TRUE);
  EXPECT_EQ(canUnloadNow_(), S_FALSE);
  factory_->LockServer(FALSE);
  EXPECT_EQ(canUnloadNow_(), S_OK);
}

// Holds the service's identity and passes on what it does not answer itself.
class AggregatingOuter : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!IsEqualIID(iid, IID_IUnknown)) return inner.Get()->QueryInterface(iid, out);
    *out = static_cast<IUnknown*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }

  ULONG refs = 1;
  ComPtr<IUnknown> inner;
};

TEST_F(ClassObjectTest, AggregatedServiceAnswersThroughItsOuterObject) {
  AggregatingOuter outer;
  ASSERT_HRESULT_SUCCEEDED(factory_->CreateInstance(&outer, IID_IUnknown, outer.inner.PutVoid()));
  EXPECT_EQ(outer.refs, 1u);  // the inner identity holds no reference on its outer object

  ComPtr<IBkQnService> service;
  ASSERT_HRESULT_SUCCEEDED(outer.QueryInterface(IID_IBkQnService, service.PutVoid()));
  EXPECT_EQ(outer.refs, 2u);  // an interface counts on the outer object
  ComPtr<IUnknown> identity;
  ASSERT_HRESULT_SUCCEEDED(service.As(identity, IID_IUnknown));
  EXPECT_EQ(identity.Get(), static_cast<IUnknown*>(&outer));
  identity.Reset();

  VARIANT_BOOL flag = 0;
  EXPECT_EQ(service->HasAxBackup(&flag), S_OK);
  EXPECT_EQ(flag, 1);
  service.Reset();
  EXPECT_EQ(outer.refs, 1u);
  EXPECT_EQ(canUnloadNow_(), S_FALSE);
  outer.inner.Reset();
  EXPECT_EQ(canUnloadNow_(), S_OK);
}

}  // namespace
