// make_tree FILES FOLDER: writes the benchmark tree of FILES files under FOLDER (once) and
// prints its Windows-form path, for the run under Wine.
#include <cstdio>
#include <cstdlib>

#include "bench/tree_generator.h"
#include "bench/tree_writer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_tree FILES FOLDER\n");
    return 2;
  }
  const size_t files = std::strtoul(argv[1], nullptr, 10);
  std::printf("%s\n", EnsureTreeOnDisk(GenerateTree(kBenchTreeSeed, files, kBenchTreeNow), argv[2]).c_str());
  return 0;
}
