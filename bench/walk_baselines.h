#pragma once
#include <cstddef>
#include <string>

// The floors a folder selection is measured against, on the host path of a tree.
// Every entry read with getdents64 into a large buffer, folders opened relative to their
// parent, nothing else: the least any walk must do.
size_t BareWalk(const std::string& hostRoot);
// The same, with one fstatat per file: what a walk that reads every file's time costs.
size_t StatWalk(const std::string& hostRoot);
// The same, with one read of the "user.DOSATTRIB" extended attribute per file instead: what
// a walk pays that must know which files are temporary.
size_t AttributeWalk(const std::string& hostRoot);
