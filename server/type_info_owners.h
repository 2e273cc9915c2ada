#pragma once
// Owners of what a type library or a type description lends out and must be given back to the
// same object: its attributes and its function descriptions.
#include <windows.h>
#include <oaidl.h>

#include <memory>

template <typename Source, typename Lent, void (STDMETHODCALLTYPE Source::*GiveBack)(Lent*)>
struct GivenBackTo {
  Source* source;
  void operator()(Lent* lent) const { (source->*GiveBack)(lent); }
};

using UniqueLibAttr = std::unique_ptr<TLIBATTR, GivenBackTo<ITypeLib, TLIBATTR, &ITypeLib::ReleaseTLibAttr>>;
using UniqueTypeAttr = std::unique_ptr<TYPEATTR, GivenBackTo<ITypeInfo, TYPEATTR, &ITypeInfo::ReleaseTypeAttr>>;
using UniqueFuncDesc = std::unique_ptr<FUNCDESC, GivenBackTo<ITypeInfo, FUNCDESC, &ITypeInfo::ReleaseFuncDesc>>;
