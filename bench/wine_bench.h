#pragma once
// What the benchmarks that run under Wine share: their arguments and wall-clock timing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// FOLDER [RUNS]: the folder (a backslash appended when missing) and the number of measured
// runs (7 by default); false, after printing the usage, when no folder is given.
inline bool ReadFolderAndRuns(int argc, char** argv, const char* usage, std::string& folder, int& runs) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s\n", usage);
    return false;
  }
  folder = argv[1];
  if (folder.back() != '\\') folder += '\\';
  runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
  return true;
}

template <typename Work>
double Seconds(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}
