#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A synthetic folder tree for benchmarks, the same for a seed on every machine: mixed-case
// names and extensions (.doc .DOC .docx .txt .bak .tmp .jpg and none), some empty folders,
// depth up to 8, modification times spread over the year before `now`.
struct GeneratedTree {
  std::vector<std::string> folders;  // relative, "\"-separated, parents before children
  struct File {
    std::string path;  // relative, "\"-separated
    int64_t lastWrite;
  };
  std::vector<File> files;
};

GeneratedTree GenerateTree(uint32_t seed, size_t fileCount, int64_t now);

// The seed and "now" every benchmark tree is made with, native and under Wine alike.
constexpr uint32_t kBenchTreeSeed = 7;
constexpr int64_t kBenchTreeNow = 1780000000;  // 2026-05-28
