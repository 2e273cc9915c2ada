// dialog-preview: runs one of the entry property dialogs on an entry given on the command
// line, so every rule can be tried by hand, and prints the entry afterwards. It links the
// dialogs' code and templates; the module's own entry points stay those of its classes.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "dialogs/file_properties_dialog.h"
#include "dialogs/folder_properties_dialog.h"
#include "model/entry_text.h"

namespace {

const char kUsage[] =
    "usage: dialog-preview folder|file PATH [FIELD...]\n"
    "\n"
    "  Runs the folder or file properties dialog on the entry whose stored text has the\n"
    "  fields PATH FIELD... and prints the dialog's result and the entry's fields afterwards,\n"
    "  in the same form. With PATH alone the entry is a new one (its defaults).\n"
    "    folder PATH RECURSIVE INCLUDE-MASKS RULE COUNT [YEAR MONTH DAY]\n"
    "                          EXCLUDE-MASKS RULE COUNT [YEAR MONTH DAY]\n"
    "    file   PATH RULE COUNT [YEAR MONTH DAY]\n"
    "  A rule is -1 (none), 0 (today), 1, 2, 3 (last COUNT days, weeks, months), 4 (before)\n"
    "  or 5 (after); the date follows only rules 4 and 5. Example:\n"
    "    dialog-preview folder 'C:\\Data' 1 '*.doc | *.txt' 2 3 '*.tmp' 4 -1 2003 3 5\n";

// A field as a shell takes it back.
std::string Quoted(const std::string& field) {
  if (!field.empty() && field.find_first_of(" \t'\"\\|*?&;<>()$`") == std::string::npos) return field;
  std::string quoted = "'";
  for (const char c : field) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

void PrintFields(const char* verb, const std::string& text, char separator) {
  std::string line = verb;
  size_t start = 0;
  for (size_t end = text.find(separator); end != std::string::npos; end = text.find(separator, start)) {
    line += " " + Quoted(text.substr(start, end - start));
    start = end + 1;
  }
  std::printf("%s\n", line.c_str());
}

std::string Joined(const std::vector<std::string>& fields, char separator) {
  std::string text;
  for (const std::string& field : fields) text += field + separator;
  return text;
}

int Fail(const char* reason) {
  std::fprintf(stderr, "dialog-preview: %s\n\n%s", reason, kUsage);
  return 2;
}

// Runs the dialog on the entry of `fields` (its path alone: a new entry) and prints the
// result and the entry's fields.
template <typename Entry, typename Dialog>
int Preview(const std::string& verb, const std::vector<std::string>& fields, char separator,
            bool (*parse)(const std::string&, Entry&), std::string (*format)(const Entry&)) {
  Entry entry;
  entry.m_strPath = fields[0];
  if (fields.size() > 1 && !parse(Joined(fields, separator), entry)) return Fail("fields missing");
  const int result = Dialog(entry).Run();
  std::printf("result %d\n", result);
  PrintFields(verb.c_str(), format(entry), separator);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 2) return Fail("a dialog and a path are needed");
  const std::string verb = args[0];
  const std::vector<std::string> fields(args.begin() + 1, args.end());

  if (verb == "folder") {
    return Preview<CFolderEntry, CFolderPropertiesDialog>(verb, fields, '\t', ParseFolderEntry, FormatFolderEntry);
  }
  if (verb == "file") return Preview<CFileEntry, CFilePropertiesDialog>(verb, fields, '\r', ParseFileEntry, FormatFileEntry);
  return Fail(("unknown dialog " + verb).c_str());
}
