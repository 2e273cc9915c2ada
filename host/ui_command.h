#pragma once
#include <string>

// `qnhost ui restore|backup`: shows each registered client's restore (or backup) control in
// a container window, as the backup application's restore (or backup) page does; OK stores
// what the page shows. Returns the program's exit code.
int ShowClientPages(const std::string& page);
