#pragma once
#include <string>
#include <string_view>

namespace platform {

// Orders two texts as the backup run sorts paths: byte by byte after folding letters to
// lower case, so "\" and "_" sort before every letter. Negative, zero or positive as `a` is
// before, equal to or after `b`. Windows reads the texts in the current multibyte code
// page, so a trail byte is never folded on its own.
int CompareNoCase(std::string_view a, std::string_view b);

// `text` with its letters in upper case, in the same code page and folding as CompareNoCase:
// two texts compare equal exactly when their upper cases are the same bytes.
std::string UpperCase(std::string_view text);

}  // namespace platform
