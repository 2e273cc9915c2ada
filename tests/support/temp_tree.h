#pragma once
#include <cstdint>
#include <string>

// A folder of its own on the real file system, removed with everything in it at the end.
// Paths are given and returned in Windows form on both builds.
class TempTree {
 public:
  TempTree();
  // A folder of its own inside `base` (ending in "\"), such as a drive's root (Windows build).
  explicit TempTree(const std::string& base);
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // The folder, ending in "\".
  const std::string& Root() const { return m_strRoot; }
  // Root() + relative ("sub\a.doc").
  std::string Path(const std::string& relative) const { return m_strRoot + relative; }

  void AddFolder(const std::string& relative);
  // Creates the file (and its folders) with the given last-write time and attributes.
  void AddFile(const std::string& relative, int64_t lastWrite, uint32_t attributes = 0);

 private:
  std::string m_strRoot;
};
