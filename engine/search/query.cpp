#include "engine/search/query.h"

#include "engine/search/compound.h"
#include "engine/text/sjis.h"

namespace morva {
namespace {

size_t CharLength(std::string_view s, size_t pos) { return SjisCharLength(s, pos); }

// Full-width characters that the pre-pass turns into ASCII.
char AsciiOf(uint16_t sjis) {
  switch (sjis) {
    case 0x8140: return ' ';
    case 0x8196: return '*';
    case 0x817B: return '+';
    case 0x8197: return '@';
    case 0x8169: return '(';
    case 0x816A: return ')';
    default: return 0;
  }
}

void SkipSpaces(std::string_view& cursor) {
  while (!cursor.empty() && cursor.front() == ' ') cursor.remove_prefix(1);
}

bool EqualsIgnoringCase(std::string_view word, std::string_view lower) {
  if (word.size() != lower.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    char c = word[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    if (c != lower[i]) return false;
  }
  return true;
}

// Reads the rest of a token into word, which may already hold a prefix
// (the operand reader's "@" forms) that counts against capacity.
QueryToken ReadTokenInto(std::string_view& cursor, std::string word, size_t capacity) {
  QueryToken token;
  SkipSpaces(cursor);
  if (cursor.empty()) {
    token.text = std::move(word);
    return token;  // kEnd
  }
  if (cursor.front() == '(' || cursor.front() == ')') {
    token.kind = cursor.front() == '(' ? QueryToken::kOpen : QueryToken::kClose;
    cursor.remove_prefix(1);
    token.text = std::move(word);
    return token;
  }
  const bool quoted = cursor.front() == '"';
  if (quoted) cursor.remove_prefix(1);
  while (!cursor.empty()) {
    const char c = cursor.front();
    if (c == '(' || c == ')') break;
    if (quoted && c == '"') {
      cursor.remove_prefix(1);
      break;
    }
    if (!quoted && c == ' ') {
      cursor.remove_prefix(1);
      break;
    }
    const size_t n = CharLength(cursor, 0);
    // A character is stored only when it leaves room for the terminating zero.
    if (word.size() + n < capacity) word.append(cursor.substr(0, n));
    cursor.remove_prefix(n);
  }
  token.kind = QueryToken::kWord;
  if (!quoted) {
    if (EqualsIgnoringCase(word, "and")) token.kind = QueryToken::kAnd;
    else if (EqualsIgnoringCase(word, "or")) token.kind = QueryToken::kOr;
    else if (EqualsIgnoringCase(word, "not")) token.kind = QueryToken::kNot;
  }
  token.text = std::move(word);
  return token;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string QueryPrePass(std::string_view query) {
  std::string out;
  out.reserve(query.size());
  char quote = 0;
  size_t pos = 0;
  while (pos < query.size()) {
    const size_t n = CharLength(query, pos);
    const std::string_view ch = query.substr(pos, n);
    pos += n;
    if (n == 1 && (ch[0] == '"' || ch[0] == '\'')) {
      if (quote == 0) {
        quote = ch[0];
        continue;
      }
      if (quote == ch[0]) {
        quote = 0;
        continue;
      }
    }
    if (quote == 0 && n == 2) {
      const auto code =
          static_cast<uint16_t>(static_cast<uint8_t>(ch[0]) << 8 | static_cast<uint8_t>(ch[1]));
      if (const char ascii = AsciiOf(code)) {
        out.push_back(ascii);
        continue;
      }
    }
    out.append(ch);
  }
  return out;
}

QueryToken ReadToken(std::string_view& cursor, size_t capacity) {
  return ReadTokenInto(cursor, std::string(), capacity);
}

QueryToken ReadOperand(TDisk& disk, std::string_view& cursor, size_t capacity) {
  SkipSpaces(cursor);
  std::string prefix;
  if (!cursor.empty() && cursor.front() == '@') {
    cursor.remove_prefix(1);
    if (!cursor.empty() && IsDigit(cursor.front())) {
      const int compound = cursor.front() - '0';
      cursor.remove_prefix(1);
      int field = 0;
      if (!cursor.empty() && IsDigit(cursor.front())) {
        field = cursor.front() - '0';
        cursor.remove_prefix(1);
      }
      LoadFieldIndex(disk, compound, field);
      prefix = "@";
    } else {
      prefix = "@@";
    }
  }
  return ReadTokenInto(cursor, std::move(prefix), capacity);
}

}  // namespace morva
