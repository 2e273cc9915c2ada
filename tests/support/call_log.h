#pragma once
#include <initializer_list>
#include <string>
#include <vector>

// A host's calls as tests write them down: one line per call, "Name(arg, arg)".
using CallLog = std::vector<std::string>;

inline std::string Call(const std::string& name, std::initializer_list<std::string> args = {}) {
  std::string text = name + "(";
  for (const std::string& arg : args) text += (text.back() == '(' ? "" : ", ") + arg;
  return text + ")";
}

// In a case's texts "@" stands for the root of the case's own temporary tree and "~" for
// `other`.
inline std::string Rooted(std::string text, const std::string& root, const std::string& other = "") {
  for (const auto& [mark, with] : {std::pair{'~', &other}, std::pair{'@', &root}}) {
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + with->size())) {
      text.replace(at, 1, *with);
    }
  }
  return text;
}
