#pragma once
#include <string>

#include "model/date_rule.h"

// One file of the backup list with its one date rule.
struct CFileEntry {
  std::string m_strPath;
  int32_t m_nRule = RULE_NONE;
  int32_t m_nCount = -1;
  Time32 m_tmDate = 0;
};
