#pragma once
#include <cstdint>
#include <string>

#include "model/date_rule.h"

// A folder of the backup list: whatever lies under it (and its subfolders when recursive)
// and passes the include masks and rule, minus what the exclude masks or rule take out.
struct CFolderEntry {
  std::string m_strPath;
  uint8_t m_bRecursive = 1;
  std::string m_strIncludeMasks = "*.*";
  Time32 m_tmIncludeDate = 0;
  int32_t m_nIncludeRule = RULE_NONE;
  int32_t m_nIncludeCount = -1;
  std::string m_strExcludeMasks;
  Time32 m_tmExcludeDate = 0;
  int32_t m_nExcludeRule = RULE_NONE;
  int32_t m_nExcludeCount = -1;
};
