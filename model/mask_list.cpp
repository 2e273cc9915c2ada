#include "model/mask_list.h"

namespace {

std::string Trimmed(const std::string& text, size_t begin, size_t end) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; };
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

void SplitMasks(const std::string& text, std::vector<std::string>& masks) {
  size_t start = 0;
  for (size_t bar = text.find('|'); bar != std::string::npos && bar > start; bar = text.find('|', start)) {
    masks.push_back(Trimmed(text, start, bar));
    start = bar + 1;
  }
  std::string rest = Trimmed(text, start, text.size());
  if (!rest.empty()) masks.push_back(std::move(rest));
}
