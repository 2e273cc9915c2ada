#pragma once
// Rules of the backup page's tree and list that need no window, shared by every build.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The text the backup list orders its rows by: the path upper-cased in the ANSI code page.
// Two paths name the same row exactly when their keys are equal.
std::string RowKey(std::string_view path);

// Where a row with `key` goes among `count` rows whose keys `keyAt` gives: before the first
// row whose key is not below it (bytes compared unsigned), or at the end. The rows stand in
// that order, so about log2(count) of them are read and the answer is the one a scan from the
// first row would give.
size_t RowPosition(size_t count, const std::function<std::string(size_t)>& keyAt, const std::string& key);

// What a path is looked up with to learn whether it exists and is a folder: a network path
// (longer than one character, two leading backslashes) gets "\*" appended, unless it ends in
// "*" or its second-to-last character is a backslash.
std::string ProbePattern(const std::string& path);

// Whether a directory search result is a folder the drive and folder tree shows: a directory
// whose name does not begin with ".", neither system nor temporary; hidden ones are shown.
bool IsTreeFolder(std::string_view name, uint32_t attributes);
