#include "bench/tree_generator.h"

#include <random>

namespace {

constexpr size_t kFilesPerFolder = 30;
constexpr int kMaxDepth = 8;
constexpr int64_t kYear = 365 * 86400;

std::string MixedCaseWord(std::mt19937& random, int minLength, int maxLength) {
  std::string word(std::uniform_int_distribution<int>(minLength, maxLength)(random), 'a');
  for (char& c : word) {
    c = static_cast<char>('a' + random() % 26);
    if (random() % 4 == 0) c = static_cast<char>(c - 'a' + 'A');
  }
  return word;
}

}  // namespace

GeneratedTree GenerateTree(uint32_t seed, size_t fileCount, int64_t now) {
  static const char* const kExtensions[] = {".doc", ".DOC", ".docx", ".txt", ".bak", ".tmp", ".jpg", ""};
  std::mt19937 random(seed);
  GeneratedTree tree;
  const size_t folderCount = fileCount / kFilesPerFolder + 1;

  std::vector<int> depth{0};
  tree.folders.push_back("");
  for (size_t i = 1; i < folderCount; ++i) {
    size_t parent = random() % tree.folders.size();
    while (depth[parent] >= kMaxDepth) parent = random() % tree.folders.size();
    const std::string& base = tree.folders[parent];
    tree.folders.push_back(base + (base.empty() ? "" : "\\") + MixedCaseWord(random, 3, 10) + std::to_string(i));
    depth.push_back(depth[parent] + 1);
  }

  // One folder in twenty stays empty.
  std::vector<size_t> filled;
  for (size_t i = 0; i < tree.folders.size(); ++i) {
    if (i == 0 || random() % 20 != 0) filled.push_back(i);
  }
  tree.files.reserve(fileCount);
  for (size_t i = 0; i < fileCount; ++i) {
    const std::string& folder = tree.folders[filled[random() % filled.size()]];
    std::string name = MixedCaseWord(random, 2, 12) + std::to_string(i) + kExtensions[random() % 8];
    const int64_t age = static_cast<int64_t>(random() % kYear);
    tree.files.push_back({folder + (folder.empty() ? "" : "\\") + name, now - age});
  }
  return tree;
}
