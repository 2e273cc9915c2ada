#pragma once
#include <cstdint>
#include <string>

// A file size as the dry run prints it: the number of bytes, or with `human` one decimal in
// units of 1024 ("512 B", "1.5 KiB", "3.4 MiB", up to EiB).
std::string SizeText(uint64_t bytes, bool human);
