#pragma once

namespace platform {

// Windows marks files temporary, and a folder's selection leaves them out. The POSIX build
// follows Wine, its reference, which keeps hidden and system in "user.DOSATTRIB" but no
// temporary mark: by default no file is temporary there, and a folder's files cost no
// attribute read. Tests of the temporary rule turn the mark on (Windows: always on).
bool TemporaryMarkKept();
void KeepTemporaryMark(bool kept);

}  // namespace platform
