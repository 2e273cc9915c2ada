#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

// One line of the console that shows how far a run has come by the client's weights. Lines
// printed while it is shown appear above it. On a console it is redrawn in place when the
// percentage moves or a tenth of a second has passed; into a file or a pipe only its final
// state is written, so logs stay readable.
class ProgressBar {
 public:
  ProgressBar(std::FILE* out, bool interactive) : m_pOut(out), m_bInteractive(interactive) {}
  // Whether standard output is a console, where the bar can be redrawn in place.
  static bool StdoutIsConsole();
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

  std::FILE* m_pOut;
  bool m_bInteractive;
  bool m_bShown = false;
  int64_t m_nTotal = 0;
  int64_t m_nDone = 0;
  std::string m_strItem;
  int m_nLastPercent = -1;
  uint64_t m_nLastDrawn = 0;
  size_t m_nDrawnWidth = 0;
};

// "[#########-----------]  45%  9/20 name", at most `width` characters; the item is cut
// from the left so that the end of a path stays visible.
std::string RenderProgress(int64_t done, int64_t total, const std::string& item, size_t width);
