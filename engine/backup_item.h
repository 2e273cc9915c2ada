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

// The name a path is handed to the host under, as a view into the path (see LocalNameOf).
std::string_view LocalNameView(std::string_view path);

// A run's files. With a million files the paths are the run's whole memory, so each is stored
// once in large blocks and the list orders small references to them; nothing is copied when
// it is sorted.
class BackupItems {
 public:
  class Iterator {
   public:
    Iterator(const BackupItems* items, size_t index) : items_(items), index_(index) {}
    BackupItem operator*() const { return (*items_)[index_]; }
    Iterator& operator++() {
      ++index_;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return index_ != other.index_; }
    bool operator==(const Iterator& other) const { return index_ == other.index_; }

   private:
    const BackupItems* items_;
    size_t index_;
  };

  BackupItems() = default;
  BackupItems(BackupItems&&) noexcept = default;
  BackupItems& operator=(BackupItems&&) noexcept = default;

  // Appends folder + name.
  void Add(std::string_view folder, std::string_view name);
  void Add(std::string_view path) { Add(path, {}); }

  size_t size() const { return paths_.size(); }
  bool empty() const { return paths_.empty(); }
  BackupItem operator[](size_t index) const { return {paths_[index], LocalNameView(paths_[index])}; }
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, paths_.size()}; }

  // Orders the files stably by `before` on their paths, then keeps only the first of every
  // run of paths that `same` calls equal.
  template <typename Before, typename Same>
  void SortAndDropDuplicates(Before before, Same same) {
    std::stable_sort(paths_.begin(), paths_.end(), before);
    paths_.erase(std::unique(paths_.begin(), paths_.end(), same), paths_.end());
    paths_.shrink_to_fit();
  }

 private:
  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t blockLeft_ = 0;
  char* blockNext_ = nullptr;
  std::vector<std::string_view> paths_;
};
