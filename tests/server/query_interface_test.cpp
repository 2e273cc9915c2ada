// The module's entry points, class objects and QueryInterface's rules for every class, reached
// the way COM reaches them. Each class, plain and aggregated: one identity (the outer object's
// when aggregated), every interface reachable from every other (reflexive, symmetric,
// transitive), refusals that leave a null out value, and E_POINTER for a null out pointer.
#include <windows.h>
#include <objbase.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "bkqnfiles.h"
#include "server/com_ptr.h"
#include "tests/server/module_under_test.h"
#include "tests/server/registered_module.h"

namespace {

struct ClassInterfaces {
  const char* name;
  const CLSID* clsid;
  std::vector<const IID*> answers;  // the class's own interface first: IDispatch is answered by it
  std::vector<const IID*> refuses;
};

// The standard set both visual controls answer after their own interface and IDispatch.
std::vector<const IID*> ControlInterfaces(const IID& own) {
  return {&own, &IID_IDispatch, &IID_IViewObjectEx, &IID_IViewObject2, &IID_IViewObject,
          &IID_IOleInPlaceObjectWindowless, &IID_IOleInPlaceObject, &IID_IOleWindow, &IID_IOleInPlaceActiveObject,
          &IID_IOleControl, &IID_IOleObject, &IID_IPersistStreamInit, &IID_IPersist, &IID_IConnectionPointContainer,
          &IID_ISpecifyPropertyPages, &IID_IQuickActivate, &IID_IPersistStorage, &IID_IDataObject,
          &IID_IProvideClassInfo, &IID_IProvideClassInfo2};
}

std::vector<ClassInterfaces> Classes() {
  return {
      {"BkQnFilesFolders", &CLSID_BkQnFilesFolders, ControlInterfaces(IID_IBkQnAxBackup),
       {&IID_IBkQnService, &IID_IBkQnAxRestore, &IID_IClassFactory}},
      {"BkQnFilesSrv", &CLSID_BkQnFilesSrv, {&IID_IBkQnService, &IID_IDispatch},
       {&IID_IBkQnAxBackup, &IID_IOleObject, &IID_IPersist, &IID_IClassFactory}},
      {"RsQnFilesFolders", &CLSID_RsQnFilesFolders, ControlInterfaces(IID_IBkQnAxRestore),
       {&IID_IBkQnService, &IID_IBkQnAxBackup, &IID_IClassFactory}},
  };
}

// Holds an object's identity and passes on what it does not answer itself.
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

ComPtr<IUnknown> Query(IUnknown* from, const IID& iid) {
  ComPtr<IUnknown> got;
  EXPECT_EQ(from->QueryInterface(iid, got.put_void()), S_OK);
  EXPECT_TRUE(got);
  return got;
}

class QueryInterfaceTest : public ModuleTest, public testing::WithParamInterface<ClassInterfaces> {};

// The class object is looked up by class and kept; holding it does not keep the module loaded,
// an object or a lock does.
TEST_P(QueryInterfaceTest, ClassObjectAndTheRulesPlainAndAggregated) {
  const ClassInterfaces& c = GetParam();
  void* out = &out;
  EXPECT_EQ(ModuleGetClassObject(*c.clsid, IID_IClassFactory, nullptr), E_INVALIDARG);
  EXPECT_EQ(ModuleGetClassObject(GUID_NULL, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  ComPtr<IClassFactory> factory, again;
  ASSERT_HRESULT_SUCCEEDED(ModuleGetClassObject(*c.clsid, IID_IClassFactory, factory.put_void()));
  ASSERT_HRESULT_SUCCEEDED(ModuleGetClassObject(*c.clsid, IID_IClassFactory, again.put_void()));
  EXPECT_EQ(again.get(), factory.get());
  EXPECT_EQ(ModuleCanUnloadNow(), S_OK);
  AggregatingOuter outer;
  EXPECT_EQ(factory->CreateInstance(nullptr, *c.answers[0], nullptr), E_POINTER);
  EXPECT_EQ(factory->CreateInstance(&outer, *c.answers[0], &out), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(factory->CreateInstance(nullptr, *c.refuses[0], &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);  // and the object that did not answer is gone again: see ~ModuleTest
  ASSERT_HRESULT_SUCCEEDED(factory->CreateInstance(&outer, IID_IUnknown, outer.inner.put_void()));
  EXPECT_EQ(outer.refs, 1u);  // the inner identity holds no reference on its outer object
  ComPtr<IUnknown> plain;
  ASSERT_EQ(CoCreateInstance(*c.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, plain.put_void()), S_OK);

  for (IUnknown* identity : {plain.get(), static_cast<IUnknown*>(&outer)}) {
    SCOPED_TRACE(identity == plain.get() ? "plain" : "aggregated");
    std::vector<ComPtr<IUnknown>> held;
    for (const IID* iid : c.answers) {
      held.push_back(Query(identity, *iid));
      if (!held.back()) return;
    }
    // Interfaces of the aggregated object count on the outer object.
    EXPECT_EQ(outer.refs, identity == &outer ? 1 + held.size() : 1u);
    // IDispatch is the class's own dual interface, not another IDispatch base of the object.
    EXPECT_EQ(Query(identity, IID_IDispatch).get(), held[0].get());

    for (size_t a = 0; a < held.size(); ++a) {
      SCOPED_TRACE(testing::Message() << "from interface " << a);
      IUnknown* from = held[a].get();
      EXPECT_EQ(Query(from, IID_IUnknown).get(), identity);
      EXPECT_EQ(from->QueryInterface(*c.answers[a], nullptr), E_POINTER);
      for (const IID* to : c.answers) {
        const ComPtr<IUnknown> next = Query(from, *to);
        // On to every one, back to where it came from included.
        for (const IID* onward : c.answers) EXPECT_TRUE(!next || Query(next.get(), *onward));
      }
      for (const IID* refused : c.refuses) {
        out = &out;
        EXPECT_EQ(from->QueryInterface(*refused, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
      }
    }
  }
  EXPECT_EQ(outer.refs, 1u);
  plain.reset();
  EXPECT_EQ(ModuleCanUnloadNow(), S_FALSE);  // the aggregated object counts too
  outer.inner.reset();
  // Locks count up and down (no object is left to count); an unmatched unlock leaves the count
  // owing nothing.
  const std::pair<BOOL, HRESULT> kSteps[] = {{TRUE, S_FALSE}, {TRUE, S_FALSE}, {FALSE, S_FALSE}, {FALSE, S_OK},
                                             {FALSE, S_OK},   {TRUE, S_FALSE}, {FALSE, S_OK}};
  for (const auto& step : kSteps) {
    factory->LockServer(step.first);
    EXPECT_EQ(ModuleCanUnloadNow(), step.second) << &step - kSteps;
  }
}

INSTANTIATE_TEST_SUITE_P(Classes, QueryInterfaceTest, testing::ValuesIn(Classes()),
                         [](const testing::TestParamInfo<ClassInterfaces>& info) { return info.param.name; });

}  // namespace
