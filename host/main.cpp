// qnhost: a substitute for the backup application, for developing client modules and for
// trying them out. It keeps the backup list the way the backup page does and runs the
// clients' backup and restore over a folder archive of its own.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "host/command_line.h"
#include "host/list_commands.h"
#include "host/run_commands.h"
#include "host/ui_command.h"
#include "server/bstr.h"

namespace {

int Run(const Command& command) {
  switch (command.verb) {
    case Verb::kHelp: std::fputs(Usage(command.helpAbout).c_str(), stdout); return kExitDone;
    case Verb::kAdd: return AddEntry(command);
    case Verb::kList: return ListEntries();
    case Verb::kClear: return ClearEntries();
    case Verb::kClients: return ShowClients();
    case Verb::kBackup: return command.dryRun ? DryRunBackup(command.human) : BackupToArchive(command.path);
    case Verb::kRestore: return RestoreFromArchive(command);
    case Verb::kShow: return ShowArchive(command.path);
    case Verb::kUi: return ShowClientPages(command.path);
  }
  return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const Command command = ParseCommandLine(args);
  if (!command.error.empty()) {
    std::fprintf(stderr, "qnhost: %s\n%s", command.error.c_str(), Usage(command.verb).c_str());
    return kExitUsage;
  }
  try {
    return Run(command);
  } catch (const ComError& e) {
    std::fprintf(stderr, "qnhost: out of memory (0x%08lX)\n", static_cast<unsigned long>(e.hr));
    return kExitFailed;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qnhost: %s\n", e.what());
    return kExitFailed;
  }
}
