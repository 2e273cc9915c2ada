#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/civil_days.h"

// What qnhost was asked to do, as typed; nothing here looks at the file system.
enum class Verb { kHelp, kAdd, kList, kClear, kClients, kBackup, kRestore, kShow, kUi };

// A date rule from "--rule KIND [N|YYYY-MM-DD]".
struct RuleOption {
  int32_t kind = -1;  // RULE_NONE
  int32_t count = -1;
  std::optional<platform::CivilDate> date;
};

struct Command {
  Verb verb = Verb::kHelp;
  std::string path;  // add: the folder or file; backup, restore, show: the archive folder; ui: the page
  std::optional<std::string> include;
  std::optional<std::string> exclude;
  bool noRecurse = false;
  std::optional<RuleOption> rule;
  std::optional<RuleOption> excludeRule;
  std::string destination;  // restore --to; empty: every file goes back where it came from
  bool overwrite = false;
};

// nullopt with the reason in `error` for a command line qnhost does not take.
std::optional<Command> ParseCommandLine(const std::vector<std::string>& args, std::string& error);

extern const char kUsage[];
