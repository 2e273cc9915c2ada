#include "engine/restore_run.h"

#include "engine/restore_target.h"
#include "platform/create_directory.h"

namespace {

constexpr uint16_t kFileObject = 0;

enum class Outcome { kGoOn, kStop };

// Restores one file object. kStop when the host raised its error with a failure code; an
// object without a usable target is passed over before anything is created.
Outcome RestoreOneFile(RestoreHost& host, const RestoreOptions& options, const std::string& objectName) {
  std::optional<std::vector<uint8_t>> stored;
  if (!options.destination.empty()) stored = host.GetObjectOptions();
  const std::optional<std::string> target = RestoreTargetFor(options.destination, objectName, stored);
  if (!target) return Outcome::kGoOn;

  CreatePathDirectories(*target);
  // The returned result is the host's to log; only a raised error with a failure code stops.
  const std::optional<RunResult> raised = host.RestoreFile(*target, static_cast<int32_t>(options.overwrite), true);
  return (raised && !RunSucceeded(*raised)) ? Outcome::kStop : Outcome::kGoOn;
}

}  // namespace

void CreatePathDirectories(const std::string& path) {
  const size_t first = path.find('\\');
  if (first == std::string::npos) return;
  for (size_t slash = path.find('\\', first + 1); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
    // Most levels exist already; a real problem shows when the host writes the file.
    platform::MakeDirectory(path.substr(0, slash));
  }
}

RunResult RunRestore(RestoreHost& host, const RestoreOptions& options, const std::string& clsid) {
  const RunResult iterated = host.Iterate(clsid);
  if (!RunSucceeded(iterated)) return iterated;

  while (!host.IsEnd()) {
    uint16_t type = 0;
    std::string name;
    const RunResult info = host.GetObjectInfo(type, name);
    if (!RunSucceeded(info)) return info;
    if (type == kFileObject && RestoreOneFile(host, options, name) == Outcome::kStop) return kRunFailed;
    host.Next();
  }
  return kRunOk;
}
