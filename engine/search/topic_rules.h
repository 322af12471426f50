// The rules that end a full-text topic, and the escapes the topic reader
// reads itself, shared by its bulk readers (topic_runs.h). Internal to the
// topic reader.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/decode/escape_codes.h"

namespace morva::topic {

inline constexpr uint8_t kEscape = escape::kEscapeByte;
inline constexpr int kEndOfText = escape::kEndOfText;
inline constexpr int kIndent = escape::kIndent;
inline constexpr int kLineBreak = escape::kNewLine;
inline constexpr int kReference = escape::kReferenceStart;

// The text of an external character that has no conversion text: a
// character that no query word contains.
inline constexpr char kExternalStandIn = 0x1A;

inline bool IsSpace(const char* bytes, size_t n) {
  return bytes[0] == ' ' || (n == 2 && bytes[0] == '\x81' && bytes[1] == '\x40');
}

inline int Bcd(uint8_t b) { return 10 * (b >> 4) + (b & 0x0F); }

// The indent level the decoder gives for the bytes x and level of an indent
// escape (only x = 0 with a level of 2..99 indents).
inline int32_t IndentParameter(uint8_t x, uint8_t level) {
  const int n = Bcd(level);
  return x == 0 && n >= 2 && n <= 99 ? n - 1 : 0;
}

// What decides where a topic ends, apart from its text.
struct TopicState {
  bool atLineStart = true;
  bool keywordOnLine = false;
  int32_t lastIndent = 0;
  int contentLines = 0;
  int zeroIndents = 0;
  int keywords = 0;
};

struct TopicLimits {
  int nCol1 = 32767;
  int nTab1 = 32767;
  bool nEnd = true;
};

enum class Ending {
  kNone,
  kBefore,  // the item begins the next topic
  kAfter,   // the next topic begins after the item (end of text)
};

// A topic that holds no text yet is never ended before an item, so every
// topic moves on.

// A character of the text (the first byte tells whether it is a space).
inline Ending AtCharacter(TopicState& s, const TopicLimits& limits, bool holdsText, bool isSpace) {
  if (!s.atLineStart) return Ending::kNone;
  if (!isSpace) {
    if (holdsText && s.contentLines + 1 >= limits.nCol1) return Ending::kBefore;
    ++s.contentLines;
  }
  s.atLineStart = false;
  return Ending::kNone;
}

// An escape; a line break has been stored already.
inline Ending AtEscape(TopicState& s, const TopicLimits& limits, bool holdsText, int code,
                       int32_t parameter, int keywordCode) {
  switch (code) {
    case kLineBreak:
      s.atLineStart = s.lastIndent == 0;
      s.keywordOnLine = false;
      return Ending::kNone;
    case kIndent:
      if (parameter == 0) {
        if (holdsText && s.zeroIndents + 1 >= limits.nTab1) return Ending::kBefore;
        ++s.zeroIndents;
      } else {
        s.atLineStart = false;
      }
      s.lastIndent = parameter;
      break;
    case kReference:
      if (s.atLineStart) {
        if (holdsText && s.contentLines + 1 >= limits.nCol1) return Ending::kBefore;
        ++s.contentLines;
      }
      s.atLineStart = false;
      break;
    case kEndOfText:
      if (limits.nEnd) return Ending::kAfter;
      break;
    default: break;
  }
  // The keyword-start escape counts once per line; the second line that
  // starts a headword begins the next topic.
  if (code == keywordCode && !s.keywordOnLine) {
    if (holdsText && s.keywords + 1 >= 2) return Ending::kBefore;
    s.keywordOnLine = true;
    ++s.keywords;
  }
  return Ending::kNone;
}

// Escapes whose items FastRun reads itself: their length (0: a variable
// length, read there) and what they do.
enum class EscapeKind : uint8_t {
  kUnknown,    // read by the decoder
  kPlain,      // nothing the topic reading depends on
  kNarrow,     // half-width text begins
  kWide,       // full-width text begins
  kLineBreak,  // 0x0A
  kIndent,     // 0x09
  kKeyword,    // 0x41, the usual keyword start
  kSpecial,    // end of text, references, 0x16, the end of a picture
};

struct FastEscape {
  uint8_t length = 0;
  EscapeKind kind = EscapeKind::kUnknown;
};

// The whole length of an escape (0x1F, code, arguments) from the escape
// table; 0 for one whose length depends on what follows.
constexpr uint8_t FixedLength(int code) {
  const int arguments = escape::ArgumentBytes(static_cast<uint8_t>(code));
  return arguments >= 0 ? static_cast<uint8_t>(2 + arguments) : 0;
}

constexpr std::array<FastEscape, 256> BuildFastEscapes() {
  std::array<FastEscape, 256> table{};
  auto set = [&table](int code, EscapeKind kind) {
    table[static_cast<size_t>(code)] = {FixedLength(code), kind};
  };
  for (int code :
       {0x02, 0x06, 0x07, 0x0E, 0x0F, 0x10, 0x11, 0x12, 0x13, 0x15, 0x43, 0x46, 0x47, 0x61,
        0xE1, 0xE3, 0xE5, 0xFE, 0xFF, 0xE0, 0xE4, 0x51, 0x52, 0x62, 0x63, 0x6B, 0x6E, 0x6F})
    set(code, EscapeKind::kPlain);
  set(escape::kNarrowStart, EscapeKind::kNarrow);
  set(escape::kNarrowEnd, EscapeKind::kWide);
  set(kLineBreak, EscapeKind::kLineBreak);
  set(kIndent, EscapeKind::kIndent);
  set(escape::kKeywordStart, EscapeKind::kKeyword);
  for (int code : {0x03, 0x16, 0x64, 0x65, 0x68, 0x6D}) set(code, EscapeKind::kSpecial);
  for (int code : {kReference, 0x32, 0x33}) set(code, EscapeKind::kSpecial);
  return table;
}
inline constexpr std::array<FastEscape, 256> kFastEscapes = BuildFastEscapes();

// Reads the escape at p (0x1F, code, parameters) when it is one FastRun
// handles and lies wholly before end: its length and parameter. False
// otherwise (the decoder then reads it).
inline bool ReadFastEscape(const uint8_t* p, const uint8_t* end, bool refParamFlag, size_t* length,
                           int32_t* parameter) {
  const uint8_t code = p[1];
  const FastEscape info = kFastEscapes[code];
  if (info.kind == EscapeKind::kUnknown) return false;
  const auto available = static_cast<size_t>(end - p);
  *parameter = 0;
  *length = info.length;
  if (code == kIndent) {
    if (available >= 4 && p[2] != kEscape) {
      *length = 4;
      *parameter = IndentParameter(p[2], p[3]);
    } else if (available >= 6 && p[2] == kEscape) {
      *length = 6;
      *parameter = IndentParameter(p[2], p[5]);
    }
  } else if (*length == 0) {
    // 0x42, 0x32, 0x33: parameter pairs that begin with a control byte
    // other than the escape byte are dropped; a 0 byte is the end of data.
    if (refParamFlag) return false;
    size_t n = 2;
    while (n < available && p[n] != 0 && p[n] < 0x20 && p[n] != kEscape) n += 2;
    if (n < available && p[n] != 0) *length = n;
  }
  return *length != 0 && *length <= available;
}

// The state FastRun keeps in locals while it runs.
struct RunState {
  TopicState state;
  size_t used = 0;
  bool fullWidth = true;
  int keywordCode = 0x41;
  bool pictureEnded = false;  // to be passed on to the decoder's state
  Ending ending = Ending::kNone;
  size_t length = 0;  // of the item at which the run stopped
};

// An escape FastRun has read: what it does to the decoder's state, the text
// (a line break) and the topic.
[[gnu::always_inline]] inline Ending FastEscapeItem(RunState& r, const TopicLimits& limits,
                                                    uint8_t code, int32_t parameter, char* text) {
  switch (code) {
    case 0x04: r.fullWidth = false; return Ending::kNone;
    case 0x05: r.fullWidth = true; return Ending::kNone;
    case 0x16: r.keywordCode = 0x16; break;
    case 0x64:
    case 0x65:
    case 0x68:
    case 0x6D: r.pictureEnded = true; return Ending::kNone;
    case kLineBreak:
      if (text) text[r.used] = '\n';
      ++r.used;
      break;
    default: break;
  }
  // Most escapes change nothing the topic's end depends on.
  if (code == kLineBreak || code == kIndent || code == kReference || code == kEndOfText ||
      code == r.keywordCode)
    return AtEscape(r.state, limits, r.used > 0, code, parameter, r.keywordCode);
  return Ending::kNone;
}

}  // namespace morva::topic
