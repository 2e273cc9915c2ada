#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

// One line of the console that shows how far a run has come by the client's weights. Lines
// printed while it is shown appear above it. Redrawn only when the percentage moves or a
// tenth of a second has passed, so long runs do not flood a log.
class ProgressBar {
 public:
  explicit ProgressBar(std::FILE* out) : out_(out) {}
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // A total of 0 or less shows no bar.
  void Start(int64_t total);
  void Advance(int64_t weight, const std::string& item);
  // Leaves the bar as it stands on its own line.
  void Finish();
  void PrintLine(const std::string& text);

 private:
  void Draw(bool always);
  void Erase();

  std::FILE* out_;
  bool shown_ = false;
  int64_t total_ = 0;
  int64_t done_ = 0;
  std::string item_;
  int lastPercent_ = -1;
  uint64_t lastDrawn_ = 0;
  size_t drawnWidth_ = 0;
};

// "[#########-----------]  45%  9/20 name", at most `width` characters; the item is cut
// from the left so that the end of a path stays visible.
std::string RenderProgress(int64_t done, int64_t total, const std::string& item, size_t width);
