#pragma once
#include <string>

#include "bench/tree_generator.h"

// Writes the tree under the host folder `root` unless a finished copy is there already (a
// marker file is written last); returns the root's Windows-form path, ending in "\".
std::string EnsureTreeOnDisk(const GeneratedTree& tree, const std::string& root);
