#include "platform/folder_scan.h"

namespace platform {

void FolderScan::Clear() {
  entries.clear();
  for (auto& list : matches) list.clear();
  subfolders.clear();
}

}  // namespace platform
