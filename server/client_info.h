#pragma once
#include <windows.h>
#include <oaidl.h>

#include <string>

// GetClientInfo: the property `name` (matched without regard to case) written into `value`.
// "hasbackup", "clientname": strings, `value` cleared first; "clienticon" (a new 16 x 16 icon
// handle the caller owns), "versionmajor", "versionminor": the 32-bit payload only, the
// type tag left as the caller set it. Another name: E_INVALIDARG, `value` untouched.
// `backupListKey` is where the stored backup list lives. Throws ComError when a string cannot
// be allocated.
HRESULT QueryClientInfo(const std::string& backupListKey, BSTR name, VARIANT* value);
