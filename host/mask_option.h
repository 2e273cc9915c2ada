#pragma once
#include <optional>
#include <string>

// A mask list as typed on the command line ("doc | *.txt") in the form the backup page
// stores: masks without "." get "*." in front, letter-case duplicates are dropped, and the
// masks are joined by " | ". nullopt, with the reason in `error`, for a mask the page's
// validator refuses (empty, holding \ / : " < > or, on the exclude side, "*.*"). An empty
// exclude list is allowed; an include list needs a mask.
std::optional<std::string> NormalizeMaskList(const std::string& typed, bool excludeSide, std::string& error);
