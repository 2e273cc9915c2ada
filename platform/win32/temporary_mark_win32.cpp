#include "platform/temporary_mark.h"

namespace platform {

bool TemporaryMarkKept() { return true; }
void KeepTemporaryMark(bool) {}

}  // namespace platform
