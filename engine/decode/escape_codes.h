// The escape codes of body text (0x1F, a code byte, its arguments): how many
// argument bytes each takes and what it is. The decoder and the full-text
// search's fast reader both take their lengths from this one table.
#pragma once

#include <array>
#include <cstdint>

namespace morva::escape {

inline constexpr uint8_t kEscapeByte = 0x1F;

// Codes that readers name.
inline constexpr uint8_t kEndOfText = 0x03;
inline constexpr uint8_t kNarrowStart = 0x04;
inline constexpr uint8_t kNarrowEnd = 0x05;
inline constexpr uint8_t kIndent = 0x09;
inline constexpr uint8_t kNewLine = 0x0A;
inline constexpr uint8_t kKeywordStart = 0x41;
inline constexpr uint8_t kReferenceStart = 0x42;
inline constexpr uint8_t kPictureEnd = 0x64;

// Argument bytes of a code whose length depends on what follows it.
inline constexpr int kVariable = -1;
// Argument bytes of a code outside the table.
inline constexpr int kUnknown = -2;

struct EscapeCode {
  int8_t arguments = kUnknown;         // argument bytes after the code byte
  int8_t specialArguments = kUnknown;  // the same in a book with special titles
  const char* name = nullptr;
};

namespace detail {

constexpr void Set(std::array<EscapeCode, 256>& table, int code, int arguments, const char* name) {
  table[static_cast<size_t>(code)] = {static_cast<int8_t>(arguments),
                                      static_cast<int8_t>(arguments), name};
}
constexpr void Set(std::array<EscapeCode, 256>& table, int code, int arguments,
                   int specialArguments, const char* name) {
  table[static_cast<size_t>(code)] = {static_cast<int8_t>(arguments),
                                      static_cast<int8_t>(specialArguments), name};
}

constexpr std::array<EscapeCode, 256> Build() {
  std::array<EscapeCode, 256> t{};
  Set(t, 0x02, 0, "start of text");
  Set(t, 0x03, 0, "end of text");
  Set(t, 0x04, 0, "half width begins");
  Set(t, 0x05, 0, "half width ends");
  Set(t, 0x06, 0, "subscript begins");
  Set(t, 0x07, 0, "subscript ends");
  Set(t, 0x09, kVariable, "indent: x (0x1F brings two more), level BCD");
  Set(t, 0x0A, 0, "new line");
  Set(t, 0x0E, 0, "superscript begins");
  Set(t, 0x0F, 0, "superscript ends");
  Set(t, 0x10, 0, "no break begins");
  Set(t, 0x11, 0, "no break ends");
  Set(t, 0x12, 0, "passed over");
  Set(t, 0x13, 0, "passed over");
  Set(t, 0x14, kVariable, "number run: 0x1E d pairs");
  Set(t, 0x15, 0, "passed over");
  Set(t, 0x16, 0, "headword codes become 0x16 / 0x17");
  Set(t, 0x31, 6, "picture size: 2 unused, width BCD 2, height BCD 2");
  Set(t, 0x32, kVariable, "position in a picture");
  Set(t, 0x33, kVariable, "position in a picture");
  Set(t, 0x41, 2, "keyword begins: kind BCD 1, 1 unused");
  Set(t, 0x42, kVariable, "reference begins (a position in a picture descriptor)");
  Set(t, 0x43, 0, "menu choice begins");
  Set(t, 0x44, 10, 14, "inline picture begins: 4 unused, height BCD 2, 2 unused, width BCD 2");
  Set(t, 0x45, kVariable, "picture group begins");
  Set(t, 0x46, 0, "passed over");
  Set(t, 0x47, 0, "passed over");
  Set(t, 0x48, 10, "sound begins: kind BCD 1, 1 unused, start and length as CD times of 4 bytes");
  Set(t, 0x49, 10, 6, "reference with indent: indent BCD 2, 2 unused, page BCD 4, offset BCD 2");
  Set(t, 0x4A, 16, 0, "passed over");
  Set(t, 0x4B, 10, "passed over");
  Set(t, 0x4C, kVariable, "reference block up to 0x1F 0x6C, then its address");
  Set(t, 0x4D, 18, kVariable, "picture: 12 unused, page BCD 4, offset BCD 2");
  Set(t, 0x51, 6, "address: page BCD 4, offset BCD 2");
  Set(t, 0x52, 6, "picture reference ends: address");
  Set(t, 0x53, 8, "passed over");
  Set(t, 0x61, 0, "keyword ends");
  Set(t, 0x62, 6, "reference ends: address");
  Set(t, 0x63, 6, "menu choice ends: address");
  Set(t, 0x64, 6, "inline picture ends: address");
  Set(t, 0x65, 0, "picture group ends");
  Set(t, 0x66, 6, "passed over");
  Set(t, 0x67, kVariable, "number run: 0x1E d pairs");
  Set(t, 0x68, 0, "sound ends");
  Set(t, 0x69, 0, 6, "reference ends (special titles: address)");
  Set(t, 0x6A, 0, 6, "rules reference ends (special titles: address)");
  Set(t, 0x6B, 6, "address");
  Set(t, 0x6D, 0, "picture ends");
  Set(t, 0x6E, 6, "contents reference ends: address");
  Set(t, 0x6F, 6, "address");
  Set(t, 0xE0, 2, 0, "highlight begins: kind BCD 2");
  Set(t, 0xE1, 0, "highlight ends");
  Set(t, 0xE2, kVariable, 0, "2 bytes, then pairs up to the next escape");
  Set(t, 0xE3, 0, "passed over");
  Set(t, 0xE4, 2, "passed over");
  Set(t, 0xE5, 0, "passed over");
  Set(t, 0xFE, 0, "passed over");
  Set(t, 0xFF, 0, "passed over");
  return t;
}

}  // namespace detail

inline constexpr std::array<EscapeCode, 256> kEscapeCodes = detail::Build();

// Argument bytes of code (kVariable, or kUnknown for a code outside the table).
constexpr int ArgumentBytes(uint8_t code, bool specialTitles = false) {
  const EscapeCode& c = kEscapeCodes[code];
  return specialTitles ? c.specialArguments : c.arguments;
}

// The longest fixed argument list.
inline constexpr int kMaxArguments = 18;

}  // namespace morva::escape
