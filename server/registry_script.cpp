#include "server/registry_script.h"

#include <cwctype>

namespace {

// Deeper nesting than any real script is taken as a broken one rather than risk the stack.
constexpr int kMaxDepth = 32;

enum class TokenKind { kEnd, kOpen, kClose, kEquals, kWord, kBroken };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::wstring text;
  bool quoted = false;
};

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

bool EndsBareWord(wchar_t c) { return IsSpace(c) || c == L'{' || c == L'}' || c == L'=' || c == L'\''; }

bool IsKeyword(const Token& token, const wchar_t* keyword) {
  if (token.kind != TokenKind::kWord || token.quoted) return false;
  size_t i = 0;
  for (; i < token.text.size() && keyword[i]; ++i) {
    if (std::towlower(token.text[i]) != std::towlower(keyword[i])) return false;
  }
  return i == token.text.size() && !keyword[i];
}

class CTokenizer {
 public:
  explicit CTokenizer(const std::wstring& text) : m_strText(text) {}

  Token Next() {
    while (m_nPos < m_strText.size() && IsSpace(m_strText[m_nPos])) ++m_nPos;
    Token token;
    if (m_nPos == m_strText.size()) return token;
    const wchar_t c = m_strText[m_nPos];
    if (c == L'{' && (m_nPos + 1 == m_strText.size() || IsSpace(m_strText[m_nPos + 1]))) {
      token.kind = TokenKind::kOpen;
      ++m_nPos;
    } else if (c == L'{') {
      // A brace with a word right after it starts a name such as {guid}.
      const size_t close = m_strText.find(L'}', m_nPos);
      if (close == std::wstring::npos) return Broken();
      token = Word(m_strText.substr(m_nPos, close + 1 - m_nPos), false);
      m_nPos = close + 1;
    } else if (c == L'}') {
      token.kind = TokenKind::kClose;
      ++m_nPos;
    } else if (c == L'=') {
      token.kind = TokenKind::kEquals;
      ++m_nPos;
    } else if (c == L'\'') {
      return Quoted();
    } else {
      const size_t start = m_nPos;
      while (m_nPos < m_strText.size() && !EndsBareWord(m_strText[m_nPos])) ++m_nPos;
      token = Word(m_strText.substr(start, m_nPos - start), false);
    }
    return token;
  }

  Token Peek() {
    const size_t saved = m_nPos;
    Token token = Next();
    m_nPos = saved;
    return token;
  }

 private:
  static Token Word(std::wstring text, bool quoted) {
    Token token;
    token.kind = TokenKind::kWord;
    token.text = std::move(text);
    token.quoted = quoted;
    return token;
  }

  Token Broken() {
    m_nPos = m_strText.size();
    Token token;
    token.kind = TokenKind::kBroken;
    return token;
  }

  Token Quoted() {
    std::wstring text;
    ++m_nPos;
    for (;;) {
      const size_t quote = m_strText.find(L'\'', m_nPos);
      if (quote == std::wstring::npos) return Broken();
      text.append(m_strText, m_nPos, quote - m_nPos);
      m_nPos = quote + 1;
      if (m_nPos < m_strText.size() && m_strText[m_nPos] == L'\'') {
        text += L'\'';
        ++m_nPos;
        continue;
      }
      return Word(std::move(text), true);
    }
  }

  const std::wstring& m_strText;
  size_t m_nPos = 0;
};

class CParser {
 public:
  explicit CParser(const std::wstring& text) : m_tokens(text) {}

  bool Script(std::vector<RegScriptRoot>& roots) {
    for (;;) {
      Token token = m_tokens.Next();
      if (token.kind == TokenKind::kEnd) return true;
      if (token.kind != TokenKind::kWord) return false;
      RegScriptRoot& root = roots.emplace_back();
      root.name = std::move(token.text);
      if (m_tokens.Next().kind != TokenKind::kOpen || !Keys(root.keys, nullptr, 0)) return false;
    }
  }

 private:
  // The entries of one block, up to and including its closing brace. `values` receives the
  // named values of the key the block belongs to; a root's block has none.
  bool Keys(std::vector<RegScriptKey>& keys, std::vector<RegScriptValue>* values, int depth) {
    if (depth > kMaxDepth) return false;
    for (;;) {
      Token token = m_tokens.Next();
      if (token.kind == TokenKind::kClose) return true;
      if (IsKeyword(token, L"val")) {
        if (!values || !Value(*values)) return false;
        continue;
      }
      RegScriptKey key;
      for (;; token = m_tokens.Next()) {
        if (IsKeyword(token, L"NoRemove")) {
          key.noRemove = true;
        } else if (IsKeyword(token, L"ForceRemove")) {
          key.forceRemove = true;
        } else {
          break;
        }
      }
      if (token.kind != TokenKind::kWord) return false;
      key.name = std::move(token.text);
      if (m_tokens.Peek().kind == TokenKind::kEquals) {
        m_tokens.Next();
        if (!StringData(key.defaultData)) return false;
        key.hasDefault = true;
      }
      if (m_tokens.Peek().kind == TokenKind::kOpen) {
        m_tokens.Next();
        if (!Keys(key.subkeys, &key.values, depth + 1)) return false;
      }
      keys.push_back(std::move(key));
    }
  }

  bool Value(std::vector<RegScriptValue>& values) {
    Token name = m_tokens.Next();
    if (name.kind != TokenKind::kWord || m_tokens.Next().kind != TokenKind::kEquals) return false;
    RegScriptValue value;
    value.name = std::move(name.text);
    if (!StringData(value.data)) return false;
    values.push_back(std::move(value));
    return true;
  }

  // "s 'text'": the one value type the script uses.
  bool StringData(std::wstring& data) {
    if (!IsKeyword(m_tokens.Next(), L"s")) return false;
    Token text = m_tokens.Next();
    if (text.kind != TokenKind::kWord || !text.quoted) return false;
    data = std::move(text.text);
    return true;
  }

  CTokenizer m_tokens;
};

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
  for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

void ReplaceInKeys(std::vector<RegScriptKey>& keys, const std::wstring& from, const std::wstring& to) {
  for (RegScriptKey& key : keys) {
    ReplaceAll(key.name, from, to);
    ReplaceAll(key.defaultData, from, to);
    for (RegScriptValue& value : key.values) {
      ReplaceAll(value.name, from, to);
      ReplaceAll(value.data, from, to);
    }
    ReplaceInKeys(key.subkeys, from, to);
  }
}

}  // namespace

bool ParseRegistryScript(const std::wstring& text, std::vector<RegScriptRoot>& roots) {
  roots.clear();
  return CParser(text).Script(roots);
}

void ReplaceInRegistryScript(std::vector<RegScriptRoot>& roots, const std::wstring& placeholder,
                             const std::wstring& replacement) {
  if (placeholder.empty()) return;
  for (RegScriptRoot& root : roots) ReplaceInKeys(root.keys, placeholder, replacement);
}
