#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/civil_days.h"

// What qnhost was asked to do, as typed; nothing here looks at the file system.
enum class Verb { kHelp, kAdd, kList, kClear, kClients, kBackup, kRestore, kShow, kUi };

// The program's exit codes, as the usage lists them.
enum ExitCode : int {
  kExitDone = 0,
  kExitFailed = 1,      // the command could not be done, or the run reported failed files
  kExitUsage = 2,       // the command line is refused
  kExitNoModule = 3,    // a client module could not be loaded, or none is registered
};

// A date rule from "--rule KIND [N|YYYY-MM-DD]".
struct RuleOption {
  int32_t kind = -1;  // RULE_NONE
  int32_t count = -1;
  std::optional<platform::CivilDate> date;
};

struct Command {
  Verb verb = Verb::kHelp;
  // Set when the command line is refused; `verb` is then the command it was meant for
  // (kHelp when none was recognised).
  std::string error;
  Verb helpAbout = Verb::kHelp;  // help: the command to explain; kHelp: all of them
  std::string path;  // add: the folder or file; backup, restore, show: the archive folder; ui: the page
  std::optional<std::string> include;
  std::optional<std::string> exclude;
  bool noRecurse = false;
  std::optional<RuleOption> rule;
  std::optional<RuleOption> excludeRule;
  std::optional<std::string> destination;  // restore --to; none: every file goes back where it came from
  bool overwrite = false;
  bool dryRun = false;
  bool human = false;
};

// Options and the path may come in any order; "--" ends the options.
Command ParseCommandLine(const std::vector<std::string>& args);

// The usage of one command, or of all of them for kHelp.
std::string Usage(Verb verb);
