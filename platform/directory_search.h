#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// One result of a directory search, as FindFirstFileA reports it.
struct FoundEntry {
  std::string name;          // long name, no folder part
  uint32_t attributes = 0;   // kAttribute* bits
  int64_t lastWriteTime = 0; // seconds since 1970-01-01 00:00 UTC
};

// A directory search over a pattern in Windows form ("C:\Data\*.doc"): the folder part names
// the folder, the last component is the mask ("*" and "?", letters without regard to case).
// Owns the underlying search handle; results come in the platform's order.
class DirectorySearch {
 public:
  DirectorySearch();
  ~DirectorySearch();
  DirectorySearch(const DirectorySearch&) = delete;
  DirectorySearch& operator=(const DirectorySearch&) = delete;

  // Starts the search; false when nothing matches or the folder cannot be read.
  // On success the first result is available through Next().
  bool Open(const std::string& pattern);
  // Fills the next result; false when there are no more.
  bool Next(FoundEntry& entry);
  void Close();

  class Impl;

 private:
  std::unique_ptr<Impl> m_pImpl;
};

}  // namespace platform
