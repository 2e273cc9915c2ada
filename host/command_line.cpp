#include "host/command_line.h"

#include <cerrno>
#include <cstdlib>

#include "model/date_rule.h"

const char kUsage[] =
    "usage: qnhost COMMAND [ARGUMENTS]\n"
    "  add PATH [--include MASKS] [--exclude MASKS] [--no-recurse]\n"
    "           [--rule RULE] [--exclude-rule RULE]\n"
    "                     put a folder or a file on the backup list (again: replace it)\n"
    "  list               show the backup list\n"
    "  clear              empty the backup list\n"
    "  clients            show the client modules that are registered\n"
    "  backup ARCHIVE     back up every client into a new archive folder\n"
    "  restore ARCHIVE [--to FOLDER] [--overwrite]\n"
    "                     restore to where the files came from, or into FOLDER;\n"
    "                     without options, as the restore page (ui restore) stored\n"
    "  show ARCHIVE       show what an archive holds\n"
    "  ui restore|backup  show the clients' restore or backup page; OK stores it\n"
    "MASKS: file-name masks joined by |, such as \"*.doc|*.txt\"\n"
    "RULE:  always | today | last-days N | last-weeks N | last-months N |\n"
    "       before YYYY-MM-DD | after YYYY-MM-DD\n";

namespace {

struct VerbName {
  const char* name;
  Verb verb;
  bool takesPath;
};

const VerbName kVerbs[] = {
    {"help", Verb::kHelp, false},       {"add", Verb::kAdd, true},        {"list", Verb::kList, false},
    {"clear", Verb::kClear, false},     {"clients", Verb::kClients, false}, {"backup", Verb::kBackup, true},
    {"restore", Verb::kRestore, true}, {"show", Verb::kShow, true},     {"ui", Verb::kUi, true},
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

// The value after an option; false when there is none.
bool TakeValue(const std::vector<std::string>& args, size_t& at, std::string& value, std::string& error) {
  if (at >= args.size()) {
    error = args[at - 1] + " needs a value";
    return false;
  }
  value = args[at++];
  return true;
}

bool ParseOptions(const std::vector<std::string>& args, size_t at, Command& command, std::string& error) {
  const bool adding = command.verb == Verb::kAdd;
  const bool restoring = command.verb == Verb::kRestore;
  while (at < args.size()) {
    const std::string& option = args[at++];
    std::string value;
    if (adding && option == "--include") {
      if (!TakeValue(args, at, value, error)) return false;
      command.include = value;
    } else if (adding && option == "--exclude") {
      if (!TakeValue(args, at, value, error)) return false;
      command.exclude = value;
    } else if (adding && option == "--no-recurse") {
      command.noRecurse = true;
    } else if (adding && (option == "--rule" || option == "--exclude-rule")) {
      std::optional<RuleOption> rule = ParseRule(args, at, error);
      if (!rule) return false;
      (option == "--rule" ? command.rule : command.excludeRule) = rule;
    } else if (restoring && option == "--to") {
      if (!TakeValue(args, at, command.destination, error)) return false;
      if (command.destination.empty()) {
        error = "--to needs a folder";
        return false;
      }
    } else if (restoring && option == "--overwrite") {
      command.overwrite = true;
    } else {
      error = "unexpected \"" + option + "\"";
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<Command> ParseCommandLine(const std::vector<std::string>& args, std::string& error) {
  Command command;
  if (args.empty()) return command;
  for (const VerbName& verb : kVerbs) {
    if (args[0] != verb.name) continue;
    command.verb = verb.verb;
    size_t at = 1;
    if (verb.takesPath) {
      if (at >= args.size() || args[at].empty() || args[at].rfind("--", 0) == 0) {
        error = std::string(verb.name) + " needs a path";
        return std::nullopt;
      }
      command.path = args[at++];
    }
    if (!ParseOptions(args, at, command, error)) return std::nullopt;
    return command;
  }
  error = "unknown command \"" + args[0] + "\"";
  return std::nullopt;
}
