#pragma once

// The module's lock count: every live component object and every LockServer(TRUE) holds one,
// and the module may be unloaded only at 0. Changed from any thread.
void LockModule();
// Never drops below 0, so an unmatched LockServer(FALSE) cannot pin the module forever.
void UnlockModule();
long ModuleLockCount();
