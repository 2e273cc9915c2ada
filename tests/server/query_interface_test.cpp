// QueryInterface's rules for every class of the module, created by class identifier: one
// identity, every interface reachable from every other (reflexive, symmetric, transitive),
// refusals that leave a null out value, and E_POINTER for a null out pointer. A class whose
// class object the module does not serve yet is skipped by name.
#include <windows.h>
#include <objbase.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <vector>

#include "bkqnfiles.h"
#include "server/com_ptr.h"
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
  return {&own,
          &IID_IDispatch,
          &IID_IViewObjectEx,
          &IID_IViewObject2,
          &IID_IViewObject,
          &IID_IOleInPlaceObjectWindowless,
          &IID_IOleInPlaceObject,
          &IID_IOleWindow,
          &IID_IOleInPlaceActiveObject,
          &IID_IOleControl,
          &IID_IOleObject,
          &IID_IPersistStreamInit,
          &IID_IPersist,
          &IID_IConnectionPointContainer,
          &IID_ISpecifyPropertyPages,
          &IID_IQuickActivate,
          &IID_IPersistStorage,
          &IID_IDataObject,
          &IID_IProvideClassInfo,
          &IID_IProvideClassInfo2};
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

void PrintTo(const ClassInterfaces& c, std::ostream* os) { *os << c.name; }

ComPtr<IUnknown> Query(IUnknown* from, const IID& iid) {
  ComPtr<IUnknown> got;
  EXPECT_EQ(from->QueryInterface(iid, got.put_void()), S_OK);
  EXPECT_TRUE(got);
  return got;
}

class QueryInterfaceTest : public ModuleTest, public testing::WithParamInterface<ClassInterfaces> {};

TEST_P(QueryInterfaceTest, FollowsTheRules) {
  const ClassInterfaces& c = GetParam();
  ComPtr<IUnknown> identity;
  const HRESULT created =
      CoCreateInstance(*c.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, identity.put_void());
  if (created == CLASS_E_CLASSNOTAVAILABLE) GTEST_SKIP() << c.name << " is not served by the module yet";
  ASSERT_EQ(created, S_OK);

  std::vector<ComPtr<IUnknown>> held;
  for (const IID* iid : c.answers) {
    held.push_back(Query(identity.get(), *iid));
    if (!held.back()) return;
  }
  // IDispatch is the class's own dual interface, not another IDispatch base of the object.
  EXPECT_EQ(Query(identity.get(), IID_IDispatch).get(), held[0].get());

  for (size_t a = 0; a < held.size(); ++a) {
    SCOPED_TRACE(testing::Message() << "from interface " << a);
    IUnknown* from = held[a].get();
    EXPECT_EQ(Query(from, IID_IUnknown).get(), identity.get());
    EXPECT_EQ(from->QueryInterface(*c.answers[a], nullptr), E_POINTER);
    for (size_t b = 0; b < held.size(); ++b) {
      const ComPtr<IUnknown> to = Query(from, *c.answers[b]);
      if (!to) continue;
      // Back to where it came from, and on to every other one.
      EXPECT_TRUE(Query(to.get(), *c.answers[a]));
      for (const IID* onward : c.answers) EXPECT_TRUE(Query(to.get(), *onward));
    }
    for (const IID* refused : c.refuses) {
      void* out = &out;
      EXPECT_EQ(from->QueryInterface(*refused, &out), E_NOINTERFACE);
      EXPECT_EQ(out, nullptr);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Classes, QueryInterfaceTest, testing::ValuesIn(Classes()),
                         [](const testing::TestParamInfo<ClassInterfaces>& info) { return info.param.name; });

}  // namespace
