#pragma once
#include <string>

#include "model/file_entry.h"
#include "model/folder_entry.h"

// The stored text forms of the backup list's entries. A file text is its fields each
// followed by CR; a folder text its fields each followed by TAB, so it holds at least nine
// TABs and a file text none. Rule dates are stored as local year, month and day.
std::string FormatFileEntry(const CFileEntry& entry);
std::string FormatFolderEntry(const CFolderEntry& entry);

// Fill `entry` from a stored text; false when a field is missing (the entry is then partly
// filled and meant to be discarded). Text after the last expected field is ignored.
bool ParseFileEntry(const std::string& text, CFileEntry& entry);
bool ParseFolderEntry(const std::string& text, CFolderEntry& entry);
