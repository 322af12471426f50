// Reading the per-book information file (MORVA.DAT): the section of the
// current title adjusts how the sub-book is read, shown and searched.
//
// The file is Shift-JIS text with LF or CR LF line ends. A section starts
// with a line "[title]" and runs to the next line that begins with "[". Only
// lines that begin with an ASCII letter or digit are statements.
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "engine/book/file_lookup.h"
#include "engine/book/messages.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/text/sjis.h"

namespace morva {
namespace {

// Lines are read into a buffer of this size, line end included.
constexpr size_t kLineBuffer = 256;
constexpr size_t kMaxPathLength = 259;
constexpr size_t kMaxEndingLength = 158;
constexpr size_t kMaxPrestringLength = 10;
constexpr int kMaxFontStatements = 2;
// INCLUDE= hands reading on to another file; a file that includes itself (or
// a ring of files) must not keep reading for ever.
constexpr int kMaxIncludes = 32;

constexpr int kMsgFontFiles = 21;
constexpr int kMsgBodyFiles = 23;
constexpr int kMsgLongLine = 25;
constexpr int kMsgEnding = 33;
constexpr int kMsgNeglect = 35;

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiAlnum(char c) {
  return IsAsciiDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string_view SkipBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

int Saturated(long long v) {
  return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

// A decimal number at the start of s (blanks and a sign allowed), 0 when
// there is none; values beyond int are held at its limits.
int ReadDecimal(std::string_view* s) {
  std::string_view t = SkipBlanks(*s);
  bool negative = false;
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
    negative = t.front() == '-';
    t.remove_prefix(1);
  }
  long long v = 0;
  while (!t.empty() && IsAsciiDigit(t.front())) {
    if (v <= INT_MAX) v = v * 10 + (t.front() - '0');
    t.remove_prefix(1);
  }
  *s = t;
  return Saturated(negative ? -v : v);
}
int ReadDecimal(std::string_view s) { return ReadDecimal(&s); }

// A hexadecimal number at the start of s, with or without "0x"; 0 when none.
int ReadHex(std::string_view s) {
  s = SkipBlanks(s);
  if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.remove_prefix(2);
  long long v = 0;
  for (char c : s) {
    int digit;
    if (IsAsciiDigit(c)) digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else break;
    if (v <= INT_MAX) v = v * 16 + digit;
  }
  return Saturated(v);
}

// A value where 0 means "no limit".
int OrUnlimited(int value, int unlimited) { return value == 0 ? unlimited : value; }

// The lines of one information file. Over-long lines (those that fill the
// line buffer) are reported once each and skipped whole.
class InfoFile {
 public:
  InfoFile(TDisk& disk, const std::string& path) : disk_(disk) {
    file_.reset(OpenForReading(path));
    if (!file_) {
      if (auto found = FindPathNoCase(path)) file_.reset(OpenForReading(*found));
    }
  }
  bool IsOpen() const { return file_ != nullptr; }

  // The next line without its line end; false at the end of the file.
  bool Next(std::string* line) {
    while (file_) {
      line->clear();
      bool overflow = false;
      int c = EOF;
      bool any = false;
      while ((c = std::getc(file_.get())) != EOF) {
        any = true;
        if (c == '\n') break;
        // One byte more than the buffer can hold, for the CR of a CR LF end.
        if (line->size() < kLineBuffer) {
          line->push_back(static_cast<char>(c));
        } else {
          overflow = true;
        }
      }
      if (!any) return false;
      if (!overflow && !line->empty() && line->back() == '\r') line->pop_back();
      if (overflow || line->size() >= kLineBuffer - 1) {
        disk_.reporter().Warning(Message(kMsgLongLine, disk_.settings().english));
        continue;
      }
      // The text ends at a 0 byte, as it would in the line buffer.
      if (size_t nul = line->find('\0'); nul != std::string::npos) line->resize(nul);
      return true;
    }
    return false;
  }

 private:
  // Only a regular file is read: a FIFO in its place would wait for ever.
  static std::FILE* OpenForReading(const std::string& path) {
    const int fd = OpenRegularFile(path);
    if (fd < 0) return nullptr;
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) ::close(fd);
    return f;
  }

  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  TDisk& disk_;
  std::unique_ptr<std::FILE, Closer> file_;
};

bool StartsWith(std::string_view line, std::string_view key, std::string_view* value) {
  if (line.substr(0, key.size()) != key) return false;
  *value = line.substr(key.size());
  return true;
}

// Applies the statements of one section to the disk.
class SectionReader {
 public:
  explicit SectionReader(TDisk& disk) : disk_(disk), info_(disk.info()) {}

  // Applies one statement line (its first character is a letter or digit).
  // Keys are tried in an order where a key never hides a longer one that
  // shares its beginning.
  void Apply(std::string_view line) {
    std::string_view v;
    if (StartsWith(line, "HONMON=", &v)) return Honmon(v);
    if (StartsWith(line, "END=", &v)) return Set(info_.endCode, ReadHex(v));
    if (StartsWith(line, "ENDING", &v)) return Ending(v);
    if (StartsWith(line, "NEGLECT=", &v)) return Neglect(v);
    if (StartsWith(line, "MULTI=", &v)) return Set(info_.multi, v);
    if (StartsWith(line, "SOURCE=", &v)) return Set(info_.source, v);
    if (StartsWith(line, "PRESTRING=", &v)) return SetShort(info_.prestring, v);
    if (StartsWith(line, "SPRESTRING=", &v)) return SetShort(info_.sprestring, v);
    if (StartsWith(line, "nEnd=", &v)) return Set(info_.nEnd, ReadDecimal(v));
    if (StartsWith(line, "nKey=", &v)) return Set(info_.nKey, OrUnlimited(ReadDecimal(v), 32767));
    if (StartsWith(line, "nTab1=", &v)) return Set(info_.nTab1, OrUnlimited(ReadDecimal(v), 32767));
    if (StartsWith(line, "nCol1=", &v)) return Set(info_.nCol1, OrUnlimited(ReadDecimal(v), 32767));
    if (StartsWith(line, "nBytes=", &v))
      return Set(info_.nBytes, OrUnlimited(ReadDecimal(v), INT32_MAX));
    if (StartsWith(line, "KanaDic=", &v)) return Set(info_.kanaDic, ReadDecimal(v));
    if (StartsWith(line, "AlphaDic=", &v)) return Set(info_.alphaDic, ReadDecimal(v));
    if (StartsWith(line, "IME=ON", &v)) return Set(info_.ime, 1);
    if (StartsWith(line, "IME=OFF", &v)) return Set(info_.ime, 0);
    if (StartsWith(line, "TITLECOLOR=OFF", &v)) return Set(info_.titleColor, false);
    if (StartsWith(line, "ZENPO=ON", &v)) return Set(info_.zenpo, true);
    if (StartsWith(line, "ZENPO=OFF", &v)) return Set(info_.zenpo, false);
    if (StartsWith(line, "SKIPCODE=", &v)) return SkipCode(v);
    if (StartsWith(line, "TRANSLATE=", &v)) return Set(info_.translate, v);
    // INCLUDE= is handled by the caller, which switches files.
    if (StartsWith(line, "NEWLINE=OFF", &v)) return Set(info_.newlineOff, true);
    // Anything else converts external characters; once the table refuses a
    // line, the rest of the section's conversion lines are ignored too.
    if (acceptConversion_ && !disk_.decoderState().conversion.AddLine(disk_, line))
      acceptConversion_ = false;
  }

 private:
  template <typename T, typename V>
  static void Set(T& field, V value) {
    field = static_cast<T>(value);
  }
  static void Set(std::string& field, std::string_view value) { field = std::string(value); }
  // The two prefix texts: longer values are ignored.
  static void SetShort(std::string& field, std::string_view value) {
    if (value.size() <= kMaxPrestringLength) field = std::string(value);
  }

  void Warn(int message) { disk_.reporter().Warning(Message(message, disk_.settings().english)); }

  void Neglect(std::string_view value) {
    if (info_.neglectSeen) return Warn(kMsgNeglect);
    info_.neglect = std::string(value);
    info_.neglectSeen = true;
  }

  // HONMON=path[,start] or HONMON=path,G: a row of BodyFileTable.
  void Honmon(std::string_view value) {
    // A split-layout book found its files from its index page already.
    if (disk_.subbook().splitLayout || honmonRefused_) return;
    BodyFileTable& files = disk_.BodyFiles();
    if (files.Full()) {
      Warn(kMsgBodyFiles);
      honmonRefused_ = true;
      return;
    }
    const size_t comma = value.find(',');
    std::string path = ToSlashes(Trim(SjisCut(value.substr(0, comma), kMaxPathLength)));
    const bool absolute = (path.size() >= 2 && path[1] == ':') || (!path.empty() && path[0] == '/');
    if (!absolute) path = disk_.VolumeRoot() + path;

    int32_t first = 0;
    if (comma != std::string_view::npos) {
      const std::string_view rest = value.substr(comma + 1);
      const std::string_view word = SkipBlanks(rest);
      if (!word.empty() && (word[0] == 'G' || word[0] == 'g')) {
        if (info_.honmonFontFiles >= kMaxFontStatements) return Warn(kMsgFontFiles);
        first =
            BodyFileTable::kFontFirstPage + BodyFileTable::kFontFilePages * info_.honmonFontFiles++;
      } else {
        // "0x64" reads as 0 in decimal, so it is read again as hexadecimal.
        first = ReadDecimal(rest);
        if (first == 0) first = ReadHex(rest);
      }
    }
    // Page 1 is the body file's: the named file replaces the one found from
    // the catalog, and the rows added so far go with it.
    if (first == 1 && files.Count() > 0) files.Clear();
    files.Add(std::move(path), first);
  }

  // ENDINGn=text: n an optional digit (slot 0 without one).
  void Ending(std::string_view rest) {
    int slot = 0;
    if (!rest.empty() && IsAsciiDigit(rest[0])) {
      slot = rest[0] - '0';
      rest.remove_prefix(1);
    }
    if (rest.empty() || rest[0] != '=' || rest.size() - 1 > kMaxEndingLength)
      return Warn(kMsgEnding);
    info_.endings[static_cast<size_t>(slot)] = std::string(rest.substr(1));
  }

  // SKIPCODE=code count: the escape 0x1F code and count bytes after it are
  // skipped by the decoder.
  void SkipCode(std::string_view v) {
    if (static_cast<int>(info_.skipCodes.size()) >= BookInfo::kMaxSkipCodes) return;
    std::string_view t = SkipBlanks(v);
    if (t.empty() || !IsAsciiDigit(t[0])) return;
    const int code = ReadDecimal(&t);
    t = SkipBlanks(t);
    if (t.empty() || !IsAsciiDigit(t[0])) return;
    const int count = ReadDecimal(&t);
    if (code > 0xFF) return;
    info_.skipCodes.emplace_back(code, count);
  }

  TDisk& disk_;
  BookInfo& info_;
  bool honmonRefused_ = false;
  bool acceptConversion_ = true;
};

bool IsHeaderOf(std::string_view line, std::string_view title) {
  return line.size() >= 2 && line.front() == '[' && line.back() == ']' &&
         line.substr(1, line.size() - 2) == title;
}

}  // namespace

void TDisk::ReadBookInfo() {
  info_ = BookInfo{};
  info_.zenpo = settings().zenpo;
  decoder_.gaijiMode = GaijiMode::kBitmap;
  decoder_.conversion.Clear();

  const std::string infoPath = ToSlashes(settings().dicInfoPath);
  if (infoPath.empty()) return;
  auto file = std::make_unique<InfoFile>(*this, infoPath);
  if (!file->IsOpen()) return;

  std::string line;
  bool found = false;
  while (!found && file->Next(&line)) found = IsHeaderOf(line, subbook_.title);
  if (!found) return;

  SectionReader section(*this);
  int includes = 0;
  while (file->Next(&line)) {
    if (!line.empty() && line[0] == '[') break;
    if (line.empty() || !IsAsciiAlnum(line[0])) continue;
    std::string_view value;
    if (StartsWith(line, "INCLUDE=", &value)) {
      // Reading goes on in the named file; the rest of this one is not read.
      if (++includes > kMaxIncludes) break;
      const std::string name = ToSlashes(Trim(value));
      file = std::make_unique<InfoFile>(*this, ResolveRelativeName(name, infoPath));
      if (!file->IsOpen()) break;
      continue;
    }
    section.Apply(line);
  }
}

}  // namespace morva
