#pragma once
#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

// One file of a backup run: its full path and the name it is handed to the host under, the
// path's last component. Both are views into the BackupItems that holds the file.
struct BackupItem {
  std::string_view FileName;
  std::string_view LocalName;
};

// The name a file is handed to the host under, as a view into its path: the last path
// component ("C:\a\b.doc" gives "b.doc", "C:\a\" gives "a"); "" and "\" come back unchanged.
std::string_view LocalNameView(std::string_view path);

// The run's order: paths compared without regard to case. The duplicate pass uses the same
// comparison, so that "the same path" there means exactly "neither before the other".
bool PathBefore(std::string_view a, std::string_view b);
bool SamePath(std::string_view a, std::string_view b);

// A run's files. With a million files the paths are the run's whole memory, so each is stored
// once in large blocks and the list orders small references to them; nothing is copied when
// it is sorted.
class BackupItems {
 public:
  class Iterator {
   public:
    Iterator(const BackupItems* items, size_t index) : m_pItems(items), m_nIndex(index) {}
    BackupItem operator*() const { return (*m_pItems)[m_nIndex]; }
    Iterator& operator++() {
      ++m_nIndex;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return m_nIndex != other.m_nIndex; }
    bool operator==(const Iterator& other) const { return m_nIndex == other.m_nIndex; }

   private:
    const BackupItems* m_pItems;
    size_t m_nIndex;
  };

  BackupItems() = default;
  BackupItems(BackupItems&&) noexcept = default;
  BackupItems& operator=(BackupItems&&) noexcept = default;

  // Appends folder + name.
  void Add(std::string_view folder, std::string_view name);
  void Add(std::string_view path) { Add(path, {}); }

  size_t size() const { return m_paths.size(); }
  bool empty() const { return m_paths.empty(); }
  BackupItem operator[](size_t index) const { return {m_paths[index], LocalNameView(m_paths[index])}; }
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, m_paths.size()}; }

  // Orders the files stably by `before` on their paths, then keeps only the first of every
  // run of paths that `same` calls equal.
  template <typename Before, typename Same>
  void SortAndDropDuplicates(Before before, Same same) {
    std::stable_sort(m_paths.begin(), m_paths.end(), before);
    DropDuplicates(same);
  }

  // The files before `middle` and those from it on are each ordered by `before`: merges them
  // into one order, the earlier files first among equals.
  template <typename Before>
  void MergeAt(size_t middle, Before before) {
    std::inplace_merge(m_paths.begin(), m_paths.begin() + static_cast<std::ptrdiff_t>(middle), m_paths.end(), before);
  }

  // Orders the files from `begin` on stably by `less`, which is asked about two of their
  // indices as they stand now; returns, for each new place from `begin` on, the index the
  // file had before.
  template <typename Less>
  std::vector<size_t> SortFrom(size_t begin, Less less) {
    std::vector<size_t> order(m_paths.size() - begin);
    for (size_t i = 0; i < order.size(); ++i) order[i] = begin + i;
    std::stable_sort(order.begin(), order.end(), less);
    std::vector<std::string_view> sorted(order.size());
    for (size_t i = 0; i < order.size(); ++i) sorted[i] = m_paths[order[i]];
    std::copy(sorted.begin(), sorted.end(), m_paths.begin() + static_cast<std::ptrdiff_t>(begin));
    return order;
  }

  // Keeps only the first of every run of neighbouring paths that `same` calls equal.
  template <typename Same>
  void DropDuplicates(Same same) {
    m_paths.erase(std::unique(m_paths.begin(), m_paths.end(), same), m_paths.end());
    m_paths.shrink_to_fit();
  }

 private:
  std::vector<std::unique_ptr<char[]>> m_blocks;
  size_t m_nBlockLeft = 0;
  char* m_pBlockNext = nullptr;
  std::vector<std::string_view> m_paths;
};
