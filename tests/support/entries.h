#pragma once
#include <string>

#include "model/folder_entry.h"

// A folder entry as a test names it: its path, include and exclude masks and recursion; no
// date rules.
inline CFolderEntry FolderEntry(const std::string& path, const std::string& include = "*.*",
                                const std::string& exclude = "", bool recursive = true) {
  CFolderEntry entry;
  entry.m_strPath = path;
  entry.m_strIncludeMasks = include;
  entry.m_strExcludeMasks = exclude;
  entry.m_bRecursive = recursive ? 1 : 0;
  return entry;
}
