#pragma once
#include <windows.h>

// Where the drive and folder tree learns the computer's drive roots and their types: the
// system, or a test that sets the drives it sees (drive types cannot be staged in a running
// Wine prefix).
class CDriveList {
 public:
  virtual ~CDriveList() = default;
  // As GetLogicalDriveStringsA: the roots ("C:\"), each ended by a zero, and one more zero;
  // answers the length written without that last zero, or the size needed when it does not fit.
  virtual DWORD LogicalDriveStrings(DWORD size, char* buffer) const = 0;
  // As GetDriveTypeA.
  virtual UINT DriveType(const char* root) const = 0;
};

// GetLogicalDriveStringsA and GetDriveTypeA.
const CDriveList& SystemDriveList();
