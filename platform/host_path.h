#pragma once
#include <string>

// POSIX only: how the Windows-form paths the core speaks map onto this file system.
// As under Wine by default, drive Z: is the root "/"; other letters map where set.
namespace platform {

// Maps drive letter `letter` to the host folder `folder` (no trailing slash needed);
// an empty folder removes the mapping.
void MapDrive(char letter, const std::string& folder);

// "Z:\tmp\a" -> "/tmp/a"; false when the drive is not mapped or the path has no drive.
bool ToHostPath(const std::string& windowsPath, std::string& hostPath);

// "/tmp/a" -> "Z:\tmp\a".
std::string FromHostPath(const std::string& hostPath);

}  // namespace platform
