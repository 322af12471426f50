#include "platform/profile_file.h"

#include <cstdint>
#include <cstring>
#include <system_error>

#include "engine/text/sjis.h"
#include "platform/atomic_file.h"

namespace morva {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Names compare without regard to ASCII case; both bytes of a double-byte
// character must match exactly (a trail byte may look like a letter).
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (IsSjisLead(static_cast<uint8_t>(a[i])) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
  }
  return true;
}

// The position of the first ']' that is a character of its own, not the
// trail byte of a double-byte character.
size_t FindCloseBracket(std::string_view s) {
  for (size_t i = 0; i < s.size(); i += SjisCharLength(s, i)) {
    if (s[i] == ']') return i;
  }
  return std::string_view::npos;
}

// One line of the file as offsets into the whole text: its content runs from
// begin to end (without the line end), the next line starts at next.
struct Line {
  size_t begin = 0;
  size_t end = 0;
  size_t next = 0;
  bool HasLineEnd() const { return next > end; }
};

// Walks the lines of a text; the last line may lack a line end.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}
  bool Next(Line& line) {
    if (pos_ >= text_.size()) return false;
    line.begin = pos_;
    const void* nl = std::memchr(text_.data() + pos_, '\n', text_.size() - pos_);
    if (nl) {
      size_t at = static_cast<size_t>(static_cast<const char*>(nl) - text_.data());
      line.end = (at > pos_ && text_[at - 1] == '\r') ? at - 1 : at;
      line.next = at + 1;
    } else {
      line.end = line.next = text_.size();
    }
    pos_ = line.next;
    return true;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// What a line means to the reader.
struct ParsedLine {
  enum Kind { kBlank, kComment, kSection, kKey, kOther } kind = kBlank;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // key value, trimmed, quotes kept
};

ParsedLine Parse(std::string_view content) {
  ParsedLine p;
  std::string_view s = Trim(content);
  if (s.empty()) return p;
  if (s.front() == ';') {
    p.kind = ParsedLine::kComment;
  } else if (s.front() == '[') {
    s.remove_prefix(1);
    p.kind = ParsedLine::kSection;
    p.name = Trim(s.substr(0, FindCloseBracket(s)));
  } else if (size_t eq = s.find('='); eq != std::string_view::npos) {
    p.kind = ParsedLine::kKey;
    p.name = Trim(s.substr(0, eq));
    p.value = Trim(s.substr(eq + 1));
  } else {
    p.kind = ParsedLine::kOther;
  }
  return p;
}

// Where a key stands in a text, as the reader and the writer both see it:
// only the first section of the wanted name counts.
struct KeyLocation {
  bool sectionFound = false;
  Line anchor;  // the section's last key line, or its header line
  bool keyFound = false;
  Line keyLine;
  size_t keyNameBegin = 0;  // where the key's name starts in keyLine
  std::string_view keyName;
  std::string_view value;
};

KeyLocation Locate(std::string_view text, std::string_view section, std::string_view key) {
  KeyLocation loc;
  LineCursor cursor(text);
  Line line;
  bool inSection = false;
  while (cursor.Next(line)) {
    std::string_view content = text.substr(line.begin, line.end - line.begin);
    ParsedLine p = Parse(content);
    if (p.kind == ParsedLine::kSection) {
      if (inSection) break;  // the first matching section has ended
      inSection = SameName(p.name, section);
      if (inSection) {
        loc.sectionFound = true;
        loc.anchor = line;
      }
    } else if (inSection && p.kind == ParsedLine::kKey) {
      loc.anchor = line;
      if (!loc.keyFound && SameName(p.name, key)) {
        loc.keyFound = true;
        loc.keyLine = line;
        loc.keyNameBegin = line.begin + static_cast<size_t>(p.name.data() - content.data());
        loc.keyName = p.name;
        loc.value = p.value;
      }
    }
  }
  return loc;
}

enum class ReadOutcome { kOk, kMissing, kFailed };

ReadOutcome ReadWholeFile(const std::string& path, std::string& out) {
  std::error_code error;
  if (ReadFileContents(path, out, &error)) return ReadOutcome::kOk;
  return error == std::errc::no_such_file_or_directory ? ReadOutcome::kMissing
                                                       : ReadOutcome::kFailed;
}

// A value handed out the way a C string buffer of bufferSize bytes holds it.
std::string FitBuffer(std::string_view value, size_t bufferSize) {
  if (bufferSize == 0) return {};
  value = value.substr(0, value.find('\0'));
  return std::string(SjisCut(value, bufferSize - 1));
}

std::string_view StripQuotes(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

bool HasLineBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool StorableSection(std::string_view s) {
  return !s.empty() && Trim(s) == s && !HasLineBreakOrNul(s) &&
         FindCloseBracket(s) == std::string_view::npos;
}

bool StorableKey(std::string_view k) {
  return !k.empty() && Trim(k) == k && !HasLineBreakOrNul(k) &&
         k.find('=') == std::string_view::npos && k.front() != ';' && k.front() != '[';
}

// The line end a rewritten text keeps: the one of its first line; CR LF for a
// text that has none yet.
std::string_view LineEndOf(std::string_view text) {
  size_t nl = text.find('\n');
  if (nl == std::string_view::npos) return "\r\n";
  return (nl > 0 && text[nl - 1] == '\r') ? "\r\n" : "\n";
}

bool LastLineIsBlank(std::string_view text) {
  // text ends with a line end here; look at the line before it.
  text.remove_suffix(1);
  size_t start = text.rfind('\n');
  start = (start == std::string_view::npos) ? 0 : start + 1;
  return Trim(text.substr(start)).empty();
}

}  // namespace

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, size_t bufferSize) const {
  std::string text;
  if (ReadWholeFile(path_, text) == ReadOutcome::kOk) {
    KeyLocation loc = Locate(text, section, key);
    if (loc.keyFound) return FitBuffer(StripQuotes(loc.value), bufferSize);
  }
  while (!defaultValue.empty() && IsBlank(defaultValue.back())) defaultValue.remove_suffix(1);
  return FitBuffer(defaultValue, bufferSize);
}

bool ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
  ProfileEdit edit(*this);
  return edit.Set(section, key, value) && edit.Commit();
}

ProfileEdit::ProfileEdit(const ProfileFile& file) : path_(file.Path()) {
  readable_ = ReadWholeFile(path_, text_) != ReadOutcome::kFailed;
}

bool ProfileEdit::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!StorableSection(section) || !StorableKey(key)) return false;
  value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));

  const std::string_view eol = LineEndOf(text_);
  KeyLocation loc = Locate(text_, section, key);
  std::string updated;
  if (loc.keyFound) {
    if (loc.value == value) return true;
    updated.reserve(text_.size() + value.size() + key.size() + 2);
    updated.append(text_, 0, loc.keyNameBegin);
    updated.append(loc.keyName).append("=").append(value);
    updated.append(text_, loc.keyLine.end);
  } else if (loc.sectionFound) {
    std::string line = std::string(key) + "=" + std::string(value);
    if (loc.anchor.HasLineEnd()) {
      updated.append(text_, 0, loc.anchor.next);
      updated.append(line).append(eol);
      updated.append(text_, loc.anchor.next);
    } else {
      // The anchor is the file's last line and has no line end yet.
      updated = text_;
      updated.append(eol).append(line);
    }
  } else {
    updated = text_;
    if (!updated.empty()) {
      if (updated.back() != '\n') updated.append(eol);
      if (!LastLineIsBlank(updated)) updated.append(eol);
    }
    updated.append("[").append(section).append("]").append(eol);
    updated.append(key).append("=").append(value).append(eol);
  }
  text_ = std::move(updated);
  changed_ = true;
  return true;
}

bool ProfileEdit::Commit() {
  if (!readable_) return false;  // never replace a file we could not read
  if (!changed_) return true;
  if (!ReplaceFileContents(path_, text_)) return false;
  changed_ = false;
  return true;
}

}  // namespace morva
