#include "host/progress_bar.h"

#include <windows.h>

#include <algorithm>

namespace {

constexpr size_t kLineWidth = 79;
constexpr size_t kCells = 30;
constexpr uint64_t kRedrawMilliseconds = 100;

int PercentOf(int64_t done, int64_t total) {
  if (total <= 0) return 100;
  return static_cast<int>(std::clamp<int64_t>(done, 0, total) * 100 / total);
}

}  // namespace

std::string RenderProgress(int64_t done, int64_t total, const std::string& item, size_t width) {
  const int percent = PercentOf(done, total);
  const size_t filled = kCells * static_cast<size_t>(percent) / 100;
  std::string line = "[" + std::string(filled, '#') + std::string(kCells - filled, '-') + "] ";
  const std::string number = std::to_string(percent);
  line += std::string(number.size() < 3 ? 3 - number.size() : 0, ' ') + number + "%  " + std::to_string(done) +
          "/" + std::to_string(total);
  if (line.size() >= width) return line.substr(0, width);
  const size_t room = width - line.size() - 1;
  if (!item.empty() && room > 3)
    line += " " + (item.size() <= room ? item : "..." + item.substr(item.size() - (room - 3)));
  return line;
}

bool ProgressBar::StdoutIsConsole() { return GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_CHAR; }

void ProgressBar::Start(int64_t total) {
  total_ = total;
  done_ = 0;
  item_.clear();
  lastPercent_ = -1;
  shown_ = total > 0;
  Draw(true);
}

void ProgressBar::Advance(int64_t weight, const std::string& item) {
  done_ += weight;
  item_ = item;
  Draw(false);
}

void ProgressBar::Finish() {
  if (!shown_) return;
  item_.clear();
  if (interactive_) {
    Draw(true);
  } else {
    std::fputs(RenderProgress(done_, total_, item_, kLineWidth).c_str(), out_);
  }
  std::fputc('\n', out_);
  std::fflush(out_);
  shown_ = false;
  drawnWidth_ = 0;
}

void ProgressBar::PrintLine(const std::string& text) {
  Erase();
  std::fprintf(out_, "%s\n", text.c_str());
  Draw(true);
}

void ProgressBar::Draw(bool always) {
  if (!shown_ || !interactive_) return;
  const int percent = PercentOf(done_, total_);
  const uint64_t now = GetTickCount64();
  if (!always && percent == lastPercent_ && now - lastDrawn_ < kRedrawMilliseconds) return;
  const std::string line = RenderProgress(done_, total_, item_, kLineWidth);
  // Blanks wipe out what a longer line before left behind.
  std::fprintf(out_, "\r%s%s", line.c_str(), std::string(drawnWidth_ > line.size() ? drawnWidth_ - line.size() : 0, ' ').c_str());
  std::fflush(out_);
  drawnWidth_ = line.size();
  lastPercent_ = percent;
  lastDrawn_ = now;
}

void ProgressBar::Erase() {
  if (!shown_ || drawnWidth_ == 0) return;
  std::fprintf(out_, "\r%s\r", std::string(drawnWidth_, ' ').c_str());
  drawnWidth_ = 0;
}
