#pragma once
#include <windows.h>

// The error object the host raises out of IRestorer::RestoreFile. The host and the module
// each link their own static C++ runtime; the module still catches it by type, because
// libstdc++ on Windows compares type_info by name and both runtimes unwind through the same
// SEH tables, so a `catch (const QnError&)` in the module matches the host's throw (checked
// under Wine by the host integration tests). The module reads only `hr`, which must stay
// the first member; the type must stay trivially destructible so that either runtime may
// end its life.
struct QnError {
  HRESULT hr;
};
