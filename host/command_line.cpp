#include "host/command_line.h"

#include <cerrno>
#include <cstdlib>
#include <iterator>

#include "model/date_rule.h"

namespace {

struct VerbSpec {
  const char* name;
  Verb verb;
  const char* pathName;  // what the path is called in errors; null: the command takes none
  const char* usage;
};

const VerbSpec kVerbs[] = {
    {"add", Verb::kAdd, "a path",
     "  add PATH [--include MASKS] [--exclude MASKS] [--no-recurse]\n"
     "           [--rule RULE] [--exclude-rule RULE]\n"
     "                      put a folder or a file on the backup list (again: replace it)\n"},
    {"list", Verb::kList, nullptr, "  list                show the backup list and its rules\n"},
    {"clear", Verb::kClear, nullptr, "  clear               empty the backup list\n"},
    {"clients", Verb::kClients, nullptr, "  clients             show the client modules that are registered\n"},
    {"backup", Verb::kBackup, "an archive folder",
     "  backup ARCHIVE      back up every client into a new archive folder\n"
     "  backup --dry-run [--human]\n"
     "                      list every file a backup would take, with its size, and copy\n"
     "                      nothing (--human: sizes in B, KiB, MiB, GiB, TiB of 1024)\n"},
    {"restore", Verb::kRestore, "an archive folder",
     "  restore ARCHIVE [--to FOLDER] [--overwrite]\n"
     "                      restore to where the files came from, or into FOLDER;\n"
     "                      without options, as the restore page (ui restore) stored\n"},
    {"show", Verb::kShow, "an archive folder", "  show ARCHIVE        show what an archive holds\n"},
    {"ui", Verb::kUi, "a page (restore or backup)",
     "  ui restore|backup   show the clients' restore or backup page; OK stores it\n"},
    {"help", Verb::kHelp, nullptr,
     "  help [COMMAND]      show this text, or a command's (also: COMMAND --help, -h)\n"},
};

const char kValueNotes[] =
    "MASKS: file-name masks joined by |, such as \"*.doc|*.txt\"\n"
    "RULE:  always | today | last-days N | last-weeks N | last-months N |\n"
    "       before YYYY-MM-DD | after YYYY-MM-DD\n";

const char kFooter[] =
    "Options and the path go in any order; \"--\" ends the options.\n"
    "Exit codes: 0 done; 1 failed, or the run reported failed files; 2 usage error;\n"
    "            3 a client module could not be loaded, or none is registered\n";

struct OptionSpec {
  const char* name;
  Verb verb;
  std::optional<std::string> Command::*text = nullptr;
  bool Command::*flag = nullptr;
  std::optional<RuleOption> Command::*rule = nullptr;
};

const OptionSpec kOptions[] = {
    {"--include", Verb::kAdd, &Command::include},
    {"--exclude", Verb::kAdd, &Command::exclude},
    {"--no-recurse", Verb::kAdd, nullptr, &Command::noRecurse},
    {"--rule", Verb::kAdd, nullptr, nullptr, &Command::rule},
    {"--exclude-rule", Verb::kAdd, nullptr, nullptr, &Command::excludeRule},
    {"--dry-run", Verb::kBackup, nullptr, &Command::dryRun},
    {"--human", Verb::kBackup, nullptr, &Command::human},
    {"--to", Verb::kRestore, &Command::destination},
    {"--overwrite", Verb::kRestore, nullptr, &Command::overwrite},
};

struct RuleName {
  const char* name;
  int32_t kind;
};

const RuleName kRules[] = {
    {"always", RULE_NONE},         {"today", RULE_TODAY},   {"last-days", RULE_LAST_DAYS},
    {"last-weeks", RULE_LAST_WEEKS}, {"last-months", RULE_LAST_MONTHS}, {"before", RULE_BEFORE},
    {"after", RULE_AFTER},
};

const VerbSpec* FindVerb(const std::string& name) {
  for (const VerbSpec& verb : kVerbs) {
    if (name == verb.name) return &verb;
  }
  return nullptr;
}

bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h" || arg == "help"; }

bool ParsePositive(const std::string& text, int32_t& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  errno = 0;
  const long number = std::strtol(text.c_str(), nullptr, 10);
  if (errno != 0 || number < 1 || number > 9999) return false;
  value = static_cast<int32_t>(number);
  return true;
}

bool ParseDate(const std::string& text, platform::CivilDate& date) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  int32_t year = 0, month = 0, day = 0;
  if (!ParsePositive(text.substr(0, 4), year) || !ParsePositive(text.substr(5, 2), month) ||
      !ParsePositive(text.substr(8, 2), day) || month > 12 || year < 1970 || year > 2037)
    return false;
  // A day that does not exist in its month would roll over into the next one.
  const platform::CivilDate back = platform::CivilFromDays(platform::DaysFromCivil(year, month, day));
  if (back.month != month || back.day != day) return false;
  date = {year, month, day};
  return true;
}

// Takes one rule from args[at...]; `at` moves past what it used.
std::optional<RuleOption> ParseRule(const std::vector<std::string>& args, size_t& at, std::string& error) {
  if (at >= args.size()) {
    error = "a rule is missing after " + args[at - 1];
    return std::nullopt;
  }
  const std::string& name = args[at++];
  for (const RuleName& rule : kRules) {
    if (name != rule.name) continue;
    RuleOption option;
    option.kind = rule.kind;
    const bool takesCount = rule.kind == RULE_LAST_DAYS || rule.kind == RULE_LAST_WEEKS || rule.kind == RULE_LAST_MONTHS;
    const bool takesDate = RuleUsesDate(rule.kind);
    if (!takesCount && !takesDate) return option;
    if (at >= args.size()) {
      error = "the rule " + name + (takesCount ? " needs a number" : " needs a date");
      return std::nullopt;
    }
    const std::string& value = args[at++];
    platform::CivilDate date{};
    if (takesCount ? !ParsePositive(value, option.count) : !ParseDate(value, date)) {
      error = "\"" + value + "\" is not " + (takesCount ? "a number from 1 to 9999" : "a date (YYYY-MM-DD, 1970 to 2037)");
      return std::nullopt;
    }
    if (takesDate) option.date = date;
    return option;
  }
  error = "unknown rule \"" + name + "\"";
  return std::nullopt;
}

// The options and the path after the command's name; a refusal is left in `command.error`.
void ParseArguments(const std::vector<std::string>& args, const VerbSpec& verb, Command& command) {
  std::string& error = command.error;
  const std::string prefix = std::string(verb.name) + ": ";
  std::vector<bool> seen(std::size(kOptions), false);
  bool optionsEnded = false;
  for (size_t at = 1; at < args.size();) {
    const std::string& arg = args[at++];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      if (arg == "--help" || arg == "-h") {
        command = Command{};
        command.helpAbout = verb.verb;
        return;
      }
      size_t index = 0;
      while (index < std::size(kOptions) && (arg != kOptions[index].name || kOptions[index].verb != verb.verb)) {
        ++index;
      }
      if (index == std::size(kOptions)) {
        error = prefix + "unknown option \"" + arg + "\"";
        return;
      }
      if (seen[index]) {
        error = prefix + arg + " is given twice";
        return;
      }
      seen[index] = true;
      const OptionSpec& option = kOptions[index];
      if (option.flag) {
        command.*option.flag = true;
      } else if (option.rule) {
        command.*option.rule = ParseRule(args, at, error);
        if (!(command.*option.rule)) {
          error = prefix + error;
          return;
        }
      } else {
        if (at >= args.size()) {
          error = prefix + arg + " needs a value";
          return;
        }
        command.*option.text = args[at++];
      }
    } else if (!verb.pathName || !command.path.empty()) {
      error = prefix + "unexpected \"" + arg + "\"";
      return;
    } else if (arg.empty()) {
      error = prefix + "the path is empty";
      return;
    } else {
      command.path = arg;
    }
  }
  if (command.destination && command.destination->empty()) {
    error = prefix + "--to needs a folder";
  } else if (command.dryRun && !command.path.empty()) {
    error = prefix + "a dry run takes no archive folder";
  } else if (command.human && !command.dryRun) {
    error = prefix + "--human goes with --dry-run";
  } else if (verb.pathName && command.path.empty() && !command.dryRun) {
    error = prefix + "needs " + verb.pathName;
  }
}

}  // namespace

Command ParseCommandLine(const std::vector<std::string>& args) {
  Command command;
  if (args.empty()) {
    command.error = "no command given";
    return command;
  }
  if (IsHelp(args[0])) {
    if (args.size() > 2) {
      command.error = "help: unexpected \"" + args[2] + "\"";
    } else if (args.size() == 2 && !IsHelp(args[1])) {
      const VerbSpec* verb = FindVerb(args[1]);
      if (verb) command.helpAbout = verb->verb;
      else command.error = "help: unknown command \"" + args[1] + "\"";
    }
    return command;
  }
  const VerbSpec* verb = FindVerb(args[0]);
  if (!verb) {
    command.error = "unknown command \"" + args[0] + "\"";
    return command;
  }
  command.verb = verb->verb;
  ParseArguments(args, *verb, command);
  return command;
}

std::string Usage(Verb verb) {
  if (verb == Verb::kHelp) {
    std::string text = "usage: qnhost COMMAND [ARGUMENTS]\n";
    for (const VerbSpec& spec : kVerbs) text += spec.usage;
    return text + kValueNotes + kFooter;
  }
  std::string text = "usage:\n";
  for (const VerbSpec& spec : kVerbs) {
    if (spec.verb == verb) text += spec.usage;
  }
  return text + (verb == Verb::kAdd ? kValueNotes : "") + kFooter;
}
