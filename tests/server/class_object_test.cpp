// The module's entry points and class objects, reached through LoadLibrary the way COM does.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "bkqnfiles.h"
#include "server/com_ptr.h"
#include "tests/server/module_under_test.h"
#include "tests/server/registered_module.h"

namespace {

class ClassObjectTest : public ModuleTest {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(ModuleGetClassObject(CLSID_BkQnFilesSrv, IID_IClassFactory, m_pFactory.put_void()));
  }
  ComPtr<IClassFactory> m_pFactory;
};

TEST_F(ClassObjectTest, LookupAndCreationFailures) {
  const CLSID unknownClass = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
  void* out = &out;
  EXPECT_EQ(ModuleGetClassObject(CLSID_BkQnFilesSrv, IID_IClassFactory, nullptr), E_INVALIDARG);
  EXPECT_EQ(ModuleGetClassObject(unknownClass, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  out = &out;
  IUnknown* outer = m_pFactory.get();  // any object will do: it is refused before use
  EXPECT_EQ(m_pFactory->CreateInstance(nullptr, IID_IBkQnService, nullptr), E_POINTER);
  EXPECT_EQ(m_pFactory->CreateInstance(outer, IID_IBkQnService, &out), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(m_pFactory->CreateInstance(nullptr, IID_IClassFactory, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);  // and the object that did not answer is gone again: see ~ModuleTest
}

TEST_F(ClassObjectTest, UnloadWaitsForObjectsAndLocks) {
  // The class object is kept, and holding it does not keep the module loaded.
  ComPtr<IClassFactory> again;
  ASSERT_HRESULT_SUCCEEDED(ModuleGetClassObject(CLSID_BkQnFilesSrv, IID_IClassFactory, again.put_void()));
  EXPECT_EQ(again.get(), m_pFactory.get());
  EXPECT_EQ(ModuleCanUnloadNow(), S_OK);

  ComPtr<IBkQnService> service;
  ASSERT_HRESULT_SUCCEEDED(
      CoCreateInstance(CLSID_BkQnFilesSrv, nullptr, CLSCTX_INPROC_SERVER, IID_IBkQnService, service.put_void()));
  EXPECT_EQ(ModuleCanUnloadNow(), S_FALSE);
  service.reset();
  EXPECT_EQ(ModuleCanUnloadNow(), S_OK);
  // Locks count up and down; an unmatched unlock leaves the count owing nothing.
  const struct {
    BOOL lock;
    HRESULT canUnload;
  } kSteps[] = {{TRUE, S_FALSE}, {TRUE, S_FALSE}, {FALSE, S_FALSE}, {FALSE, S_OK},
                {FALSE, S_OK},   {TRUE, S_FALSE}, {FALSE, S_OK}};
  for (const auto& step : kSteps) {
    m_pFactory->LockServer(step.lock);
    EXPECT_EQ(ModuleCanUnloadNow(), step.canUnload) << &step - kSteps;
  }
}

// Holds the service's identity and passes on what it does not answer itself.
class AggregatingOuter : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!IsEqualIID(iid, IID_IUnknown)) return inner.get()->QueryInterface(iid, out);
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
  ASSERT_HRESULT_SUCCEEDED(m_pFactory->CreateInstance(&outer, IID_IUnknown, outer.inner.put_void()));
  EXPECT_EQ(outer.refs, 1u);  // the inner identity holds no reference on its outer object

  ComPtr<IBkQnService> service;
  ASSERT_HRESULT_SUCCEEDED(outer.QueryInterface(IID_IBkQnService, service.put_void()));
  EXPECT_EQ(outer.refs, 2u);  // an interface counts on the outer object
  ComPtr<IUnknown> identity;
  ASSERT_HRESULT_SUCCEEDED(service.As(identity, IID_IUnknown));
  EXPECT_EQ(identity.get(), static_cast<IUnknown*>(&outer));
  identity.reset();

  VARIANT_BOOL flag = 0;
  EXPECT_EQ(service->HasAxBackup(&flag), S_OK);
  EXPECT_EQ(flag, 1);
  service.reset();
  EXPECT_EQ(outer.refs, 1u);
  EXPECT_EQ(ModuleCanUnloadNow(), S_FALSE);
  outer.inner.reset();
}

}  // namespace
