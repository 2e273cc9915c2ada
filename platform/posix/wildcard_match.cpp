#include "platform/posix/wildcard_match.h"

namespace platform {
namespace {

char Fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool Same(char a, char b) { return Fold(a) == Fold(b); }

}  // namespace

bool WildcardMatch(std::string_view mask, std::string_view name) {
  while (!mask.empty() && (mask.back() == '.' || mask.back() == ' ')) mask.remove_suffix(1);
  if (mask.empty()) return false;

  size_t m = 0, n = 0;
  size_t afterStar = std::string_view::npos;  // mask position just after the last star
  size_t retry = 0;                           // name position the last star's try began at
  while (n < name.size() && m < mask.size()) {
    if (mask[m] == '*') {
      while (m < mask.size() && mask[m] == '*') ++m;
      if (m == mask.size()) return true;
      afterStar = m;
      while (n < name.size() && !Same(name[n], mask[m])) ++n;
      retry = n;
    } else if (mask[m] == '?') {
      ++m;
      ++n;
    } else if (Same(mask[m], name[n])) {
      ++m;
      ++n;
      if (m == mask.size()) {
        if (n == name.size()) return true;
        if (afterStar != std::string_view::npos) m = afterStar;
      }
    } else if (afterStar != std::string_view::npos) {
      m = afterStar;
      n = ++retry;
    } else {
      return false;
    }
  }
  while (m < mask.size() && (mask[m] == '.' || mask[m] == '*')) ++m;
  return n == name.size() && m == mask.size();
}

WildcardMask::WildcardMask(std::string mask) : m_strMask(std::move(mask)) {
  std::string_view text = m_strMask;
  while (!text.empty() && (text.back() == '.' || text.back() == ' ')) text.remove_suffix(1);
  const size_t star = text.rfind('*');
  if (star != std::string_view::npos && text.find('?', star) == std::string_view::npos) m_strTail = text.substr(star + 1);
}

bool WildcardMask::Matches(std::string_view name) const {
  if (name.size() < m_strTail.size()) return false;
  const char* end = name.data() + name.size() - m_strTail.size();
  for (size_t i = 0; i < m_strTail.size(); ++i) {
    if (!Same(end[i], m_strTail[i])) return false;
  }
  return WildcardMatch(m_strMask, name);
}

}  // namespace platform
