// The text stream decoder: the one reader of body text, titles and index
// texts. Each call pulls the next unit from TDisk's current position: one byte
// of Shift-JIS text, an external-character code, or an escape item with its
// parameters already read. Escape codes are listed in docs/formats.md.
#pragma once

#include <cstdint>
#include <string>

#include "engine/book/decoder_state.h"

namespace morva {

class TDisk;

// The result of an escape sequence: its code byte (0 for text) and up to three
// parameters (0 when not set). For text units p1 is 1 when the value returned
// is an external-character code.
struct EscapeItem {
  int code = 0;
  int32_t p1 = 0;
  int32_t p2 = 0;
  int32_t p3 = 0;
};

// Values of DecodeNext.
inline constexpr int kDecodeEnd = 0;         // end of data (0 byte or failed read)
inline constexpr int kDecodeEscape = 0x20;   // an escape item was read
inline constexpr int kDecodeUnknown = 0x3F;  // escape outside the table, or a stray control byte
inline constexpr int kFirstGaijiValue = 256;

// Decodes the next unit at TDisk's position. Returns 0 at the end of data,
// 1..255 for one byte of Shift-JIS text, >= 256 for an external-character
// code, 0x20 for an escape item (its code in item), 0x3F for an unknown escape
// or stray control byte. With allowConversion, external characters may be
// replaced by conversion text in GaijiMode::kText; without it their two raw
// bytes come out as a pair. A 0 byte also ends the data where it cuts a
// character or an escape code, or where an escape that skips up to closing
// bytes meets it: such units are dropped and 0 is returned.
int DecodeNext(TDisk& disk, EscapeItem& item, bool allowConversion);

// Decodes text into at most capacity - 1 bytes (for titles and field labels):
// stops at the end of data, at a value equal to stopCode, at escape 0x0A when
// stopCode is 0x0A, or at escape 0x03; other escapes are dropped. External
// characters become "[%04x]" or, in GaijiMode::kBitmap, the 4-byte marker
// 0x0B w h l; each only when it fits whole.
std::string DecodeText(TDisk& disk, size_t capacity, int stopCode, bool allowConversion);

// The Shift-JIS text of the JIS X 0208 character jis (below the book's own
// codes) in full or half width: writes 1 or 2 bytes to out and returns the
// count. In half width a kana may take a voicing mark as its second byte; a
// character without a half-width form stays a full-width pair.
int PlainCharacterBytes(uint16_t jis, bool fullWidth, uint8_t out[2]);

// The code of a single-byte book's external character 0x0F xx, and back.
uint16_t MapSingleByteGaiji(uint16_t code0F);
uint16_t UnmapSingleByteGaiji(uint16_t code);

}  // namespace morva
