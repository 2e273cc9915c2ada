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
  m_nTotal = total;
  m_nDone = 0;
  m_strItem.clear();
  m_nLastPercent = -1;
  m_bShown = total > 0;
  Draw(true);
}

void ProgressBar::Advance(int64_t weight, const std::string& item) {
  m_nDone += weight;
  m_strItem = item;
  Draw(false);
}

void ProgressBar::Finish() {
  if (!m_bShown) return;
  m_strItem.clear();
  if (m_bInteractive) {
    Draw(true);
  } else {
    std::fputs(RenderProgress(m_nDone, m_nTotal, m_strItem, kLineWidth).c_str(), m_pOut);
  }
  std::fputc('\n', m_pOut);
  std::fflush(m_pOut);
  m_bShown = false;
  m_nDrawnWidth = 0;
}

void ProgressBar::PrintLine(const std::string& text) {
  Erase();
  std::fprintf(m_pOut, "%s\n", text.c_str());
  Draw(true);
}

void ProgressBar::Draw(bool always) {
  if (!m_bShown || !m_bInteractive) return;
  const int percent = PercentOf(m_nDone, m_nTotal);
  const uint64_t now = GetTickCount64();
  if (!always && percent == m_nLastPercent && now - m_nLastDrawn < kRedrawMilliseconds) return;
  const std::string line = RenderProgress(m_nDone, m_nTotal, m_strItem, kLineWidth);
  // Blanks wipe out what a longer line before left behind.
  std::fprintf(m_pOut, "\r%s%s", line.c_str(), std::string(m_nDrawnWidth > line.size() ? m_nDrawnWidth - line.size() : 0, ' ').c_str());
  std::fflush(m_pOut);
  m_nDrawnWidth = line.size();
  m_nLastPercent = percent;
  m_nLastDrawn = now;
}

void ProgressBar::Erase() {
  if (!m_bShown || m_nDrawnWidth == 0) return;
  std::fprintf(m_pOut, "\r%s\r", std::string(m_nDrawnWidth, ' ').c_str());
  m_nDrawnWidth = 0;
}
