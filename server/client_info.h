#pragma once
#include <windows.h>
#include <oaidl.h>

#include <string>

// GetClientInfo: the property `name` (matched without regard to case) written into `value`.
// "hasbackup", "clientname": strings, `value` cleared first; "clienticon" (a new 16 x 16 icon
// handle the caller owns), "versionmajor", "versionminor": the 32-bit payload, the type tag
// left as the caller set it when that is VT_I4, VT_UI4, VT_INT or VT_UINT, else `value`
// cleared first and tagged VT_I4 (the icon) or VT_UI4. A failed clear is returned and nothing
// stored. Another name: E_INVALIDARG, `value` untouched.
// `backupListKey` is where the stored backup list lives. Throws ComError when a string cannot
// be allocated.
HRESULT QueryClientInfo(const std::string& backupListKey, BSTR name, VARIANT* value);
