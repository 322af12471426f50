// The text stream decoder: JIS X 0208 pairs to Shift-JIS (full- or
// half-width), external characters, and escape sequences with their
// parameters. It keeps no state of its own; everything lives in TDisk, and a
// seek resets it.
#include "engine/decode/decoder.h"

#include <array>
#include <cstdio>

#include "engine/book/tdisk.h"
#include "engine/decode/escape_codes.h"
#include "engine/decode/marked_text.h"
#include "engine/text/jis.h"
#include "engine/text/sjis.h"
#include "engine/text/width.h"

namespace morva {

namespace {

constexpr int kEscapeByte = escape::kEscapeByte;
constexpr int kSingleByteGaijiLead = 0x0F;
// JIS-form codes from here on are the book's own characters.
constexpr int kFirstBookCode = 0xA100;

constexpr uint8_t kVoicedMark = 0xDE;      // ﾞ
constexpr uint8_t kSemiVoicedMark = 0xDF;  // ﾟ

// The mark that follows the half-width form of a hiragana (row 0x24) or
// katakana (row 0x25), by the cell of its JIS code.
constexpr std::array<uint8_t, 0x80> BuildKanaMarks() {
  std::array<uint8_t, 0x80> marks{};
  for (uint8_t cell : {0x2C, 0x2E, 0x30, 0x32, 0x34, 0x36, 0x38, 0x3A, 0x3C, 0x3E, 0x40,
                       0x42, 0x45, 0x47, 0x49, 0x50, 0x53, 0x56, 0x59, 0x5C, 0x74})
    marks[cell] = kVoicedMark;
  for (uint8_t cell : {0x51, 0x54, 0x57, 0x5A, 0x5D}) marks[cell] = kSemiVoicedMark;
  return marks;
}
constexpr std::array<uint8_t, 0x80> kKanaMarks = BuildKanaMarks();

}  // namespace

int PlainCharacterBytes(uint16_t jis, bool fullWidth, uint8_t out[2]) {
  uint16_t sjis = JisToSjis(jis);
  if (sjis == 0) sjis = kSjisWhiteSquare;
  if (!fullWidth) {
    if (jis == 0x2148) {  // “ has no half-width form of its own
      out[0] = '"';
      return 1;
    }
    if (jis == 0x213D || jis == 0x213E) {  // dash and hyphen
      out[0] = '-';
      return 1;
    }
    const HalfWidthForm half = ToHalfWidth(sjis);
    if (half.ch != 0) {
      out[0] = half.ch;
      const int row = jis >> 8;
      const int cell = jis & 0xFF;
      if ((row == 0x24 || row == 0x25) && cell >= 0x21 && cell <= 0x76 && kKanaMarks[cell] != 0) {
        out[1] = kKanaMarks[cell];
        return 2;
      }
      return 1;
    }
  }
  out[0] = static_cast<uint8_t>(sjis >> 8);
  out[1] = static_cast<uint8_t>(sjis & 0xFF);
  return 2;
}

namespace {

// An external character: its code, its conversion text, or (without
// conversion) its two raw bytes.
int ExternalCharacter(TDisk& disk, EscapeItem& item, uint16_t code, int high, int low,
                      bool allowConversion) {
  if (!allowConversion) {
    disk.decoderState().pendingChar = static_cast<uint8_t>(low);
    return high;
  }
  if (disk.decoderState().gaijiMode == GaijiMode::kText) {
    const int position = disk.decoderState().conversion.Lookup(code, disk.decoderState().fullWidth);
    if (position >= 0) {
      const auto first = static_cast<uint8_t>(disk.decoderState().conversion.TextAt(position)[0]);
      if (first == 0) return ' ';
      disk.decoderState().replacementCursor = position + 1;
      return first;
    }
  }
  item.p1 = 1;
  return code;
}

int DecodePair(TDisk& disk, EscapeItem& item, int high, int low, bool allowConversion) {
  auto code = static_cast<uint16_t>(high << 8 | low);
  if (disk.SingleByteBook() && high == kSingleByteGaijiLead) {
    if (disk.decoderState().gaijiMode == GaijiMode::kBitmap) code = MapSingleByteGaiji(code);
    return ExternalCharacter(disk, item, code, high, low, allowConversion);
  }
  if (code >= kFirstBookCode)
    return ExternalCharacter(disk, item, code, high, low, allowConversion);
  // The second byte (a trail byte or a voicing mark) comes with the next call.
  uint8_t bytes[2];
  if (PlainCharacterBytes(code, disk.decoderState().fullWidth, bytes) == 2)
    disk.decoderState().pendingChar = bytes[1];
  return bytes[0];
}

// Byte count of an escape code that the book's information file hides, or -1.
int SkipCount(const TDisk& disk, int code) {
  for (const auto& [skipped, count] : disk.info().skipCodes)
    if (skipped == code) return count > 0 ? count : 0;
  return -1;
}

// The fixed arguments of one escape: fields are read in order, and whatever
// the table counts beyond them is passed over at the end.
class Arguments {
 public:
  Arguments(TDisk& disk, int count) : disk_(disk), left_(count) {}
  ~Arguments() {
    if (left_ > 0) disk_.Skip(left_);
  }
  Arguments(const Arguments&) = delete;
  Arguments& operator=(const Arguments&) = delete;

  int32_t Bcd(int n) {
    left_ -= n;
    return disk_.ReadBcd(n);
  }
  void Skip(int n) {
    left_ -= n;
    disk_.Skip(n);
  }
  // A page (4 bytes) and an offset (2 bytes), packed decimal.
  void Address(EscapeItem& item) {
    item.p1 = Bcd(4);
    item.p2 = Bcd(2);
  }
  // Minutes, seconds and frames in packed decimal and one unused byte, as CD
  // frames (75 a second).
  int32_t CdTime() {
    const int32_t minutes = Bcd(1);
    const int32_t seconds = Bcd(1);
    const int32_t frames = Bcd(1);
    Skip(1);
    return minutes * 4500 + seconds * 75 + frames;
  }

 private:
  TDisk& disk_;
  int left_;
};

// A page (4 bytes) and an offset (2 bytes), packed decimal.
void ReadAddress(TDisk& disk, EscapeItem& item) {
  item.p1 = disk.ReadBcd(4);
  item.p2 = disk.ReadBcd(2);
}

// The loops below look only for their closing bytes. A 0 byte where they
// look is the end of the data (a byte of 0 cannot be pushed back, and a
// failed page read gives 0 for ever), so each returns false there.

// Drops a run of 0x1E d pairs; the byte that ends the run is pushed back.
bool SkipNumberRun(TDisk& disk) {
  for (;;) {
    const int b = disk.ReadByte();
    if (b == 0) return false;
    if (b != 0x1E) {
      disk.PushBack(static_cast<uint8_t>(b));
      return true;
    }
    disk.Skip(1);
  }
}

// Drops parameter pairs whose first byte is a control byte other than the
// escape byte; the byte that ends them is pushed back.
bool DropControlPairs(TDisk& disk) {
  for (;;) {
    const int b = disk.ReadByte();
    if (b == 0) return false;
    if (b >= 0x20 || b == kEscapeByte) {
      disk.PushBack(static_cast<uint8_t>(b));
      return true;
    }
    disk.Skip(1);
  }
}

// Drops byte pairs up to and including the pair 0x1F closingCode.
bool SkipPairsThrough(TDisk& disk, int closingCode) {
  for (;;) {
    const int first = disk.ReadByte();
    const int second = first == 0 ? 0 : disk.ReadByte();
    if (second == 0) return false;
    if (first == kEscapeByte && second == closingCode) return true;
  }
}

// Drops byte pairs until one begins with the escape byte, which is pushed back.
bool DropPairsUntilEscape(TDisk& disk) {
  for (;;) {
    const int b = disk.ReadByte();
    if (b == 0) return false;
    if (b == kEscapeByte) {
      disk.PushBack(static_cast<uint8_t>(b));
      return true;
    }
    if (disk.ReadByte() == 0) return false;
  }
}

// The indent escape: one byte x (0x1F brings two more to drop), then the
// level in packed decimal. Only x = 0 with a level of 2..99 indents.
int32_t ReadIndent(TDisk& disk) {
  const int x = disk.ReadByte();
  if (x == kEscapeByte) disk.Skip(2);
  const int32_t level = disk.ReadBcd(1);
  return x == 0 && level >= 2 && level <= 99 ? level - 1 : 0;
}

// The escapes whose length depends on what follows them.
int DecodeVariableEscape(TDisk& disk, EscapeItem& item, int k) {
  switch (k) {
    case 0x09: item.p1 = ReadIndent(disk); break;
    case 0x14:
    case 0x67:
      if (!SkipNumberRun(disk)) return kDecodeEnd;
      break;
    case 0x32:
    case 0x33:
    case 0x42:
      if (disk.decoderState().refParamFlag) {
        item.p1 = disk.ReadBcd(2);
        item.p2 = disk.ReadBcd(2);
      } else if (!DropControlPairs(disk)) {
        return kDecodeEnd;
      }
      break;
    case 0x45: {
      disk.decoderState().pictureFlag = true;
      const int b = disk.ReadByte();
      if (b == 0) return kDecodeEnd;
      if (b < 0x20 && b != kEscapeByte) {
        disk.Skip(1);
      } else {
        disk.PushBack(static_cast<uint8_t>(b));
      }
      break;
    }
    case 0x4C:
      disk.Skip(10);
      if (!SkipPairsThrough(disk, 0x6C)) return kDecodeEnd;
      ReadAddress(disk, item);
      item.code = 0x49;
      break;
    case 0x4D:  // with special titles
      if (!SkipPairsThrough(disk, 0x6D)) return kDecodeEnd;
      break;
    case 0xE2:  // without special titles
      disk.Skip(2);
      if (!DropPairsUntilEscape(disk)) return kDecodeEnd;
      break;
    default: return kDecodeUnknown;
  }
  return kDecodeEscape;
}

// Reads the parameters of escape k into item; the escape value, 0x3F for a
// code outside the table, or 0 when the data ended inside the escape.
int DecodeEscape(TDisk& disk, EscapeItem& item, int k) {
  const bool special = disk.subbook().specialTitle;
  const int count = escape::ArgumentBytes(static_cast<uint8_t>(k), special);
  if (count == escape::kUnknown) return kDecodeUnknown;
  if (count == escape::kVariable) return DecodeVariableEscape(disk, item, k);
  Arguments args(disk, count);
  switch (k) {
    case 0x03:
      // In that book, with continuous display, the end of a text is a line break.
      if (special && disk.settings().scroll) item.code = 0x0A;
      break;
    case 0x04: disk.decoderState().fullWidth = false; break;
    case 0x05: disk.decoderState().fullWidth = true; break;
    case 0x16:
      disk.decoderState().headwordStart = 0x16;
      disk.decoderState().headwordEnd = 0x17;
      break;
    case 0x31:
      args.Skip(2);
      item.p1 = args.Bcd(2);
      item.p2 = args.Bcd(2);
      break;
    case 0x41: item.p1 = args.Bcd(1); break;
    case 0x44:
      disk.decoderState().pictureFlag = true;
      args.Skip(4);
      item.p1 = args.Bcd(2);
      args.Skip(2);
      item.p2 = args.Bcd(2);
      break;
    case 0x48: {
      disk.decoderState().pictureFlag = true;
      item.p1 = args.Bcd(1);
      args.Skip(1);
      const int32_t start = args.CdTime();
      const int32_t length = args.CdTime();
      item.p2 = start;
      item.p3 = start + length;
      break;
    }
    case 0x49:
      if (special) {
        args.Address(item);
        item.p3 = item.p1;
        item.code = 0x20;
      } else {
        item.p3 = args.Bcd(2);
        args.Skip(2);
        args.Address(item);
      }
      break;
    case 0x4D:  // (with special titles its length is variable)
      disk.decoderState().pictureFlag = true;
      args.Skip(12);
      args.Address(item);
      break;
    case 0x51:
    case 0x52:
    case 0x62:
    case 0x63:
    case 0x6B:
    case 0x6E:
    case 0x6F: args.Address(item); break;
    case 0x64:
      disk.decoderState().pictureFlag = false;
      args.Address(item);
      break;
    case 0x65:
    case 0x68:
    case 0x6D: disk.decoderState().pictureFlag = false; break;
    case 0x6A:
      if (special) args.Address(item);
      break;
    case 0xE0:
      if (!special) item.p1 = args.Bcd(2);
      break;
    default: break;  // no fields: the arguments, if any, are passed over
  }
  return kDecodeEscape;
}

}  // namespace

int DecodeNext(TDisk& disk, EscapeItem& item, bool allowConversion) {
  for (;;) {
    item = EscapeItem{};
    if (disk.decoderState().replacementCursor >= 0) {
      if (disk.decoderState().replacementCursor < TGaiji::kPoolSize) {
        const auto b = static_cast<uint8_t>(
            disk.decoderState().conversion.TextAt(disk.decoderState().replacementCursor)[0]);
        if (b != 0) {
          ++disk.decoderState().replacementCursor;
          return b;
        }
      }
      disk.decoderState().replacementCursor = -1;
    }
    if (disk.decoderState().pendingChar != 0) {
      const int b = disk.decoderState().pendingChar;
      disk.decoderState().pendingChar = 0;
      return b;
    }

    const int b = disk.ReadByte();
    if (b != kEscapeByte) {
      if (b == 0) return kDecodeEnd;
      if (b < 0x20) {
        if (b != kSingleByteGaijiLead || !disk.SingleByteBook()) return kDecodeUnknown;
      } else if (disk.SingleByteBook()) {
        return b;
      }
      const int low = disk.ReadByte();
      if (low == 0) return kDecodeEnd;  // the data ends inside the character
      return DecodePair(disk, item, b, low, allowConversion);
    }

    const int k = disk.ReadByte();
    if (k == 0) return kDecodeEnd;
    item.code = k;
    const int skip = SkipCount(disk, k);
    if (skip >= 0) {
      // Invisible to the caller; a run of them ends with the data at the latest.
      disk.Skip(skip);
      continue;
    }
    return DecodeEscape(disk, item, k);
  }
}

std::string DecodeText(TDisk& disk, size_t capacity, int stopCode, bool allowConversion) {
  std::string text;
  if (capacity == 0) return text;
  const size_t room = capacity - 1;
  disk.decoderState().fullWidth = true;
  EscapeItem item;
  while (text.size() < room) {
    const int value = DecodeNext(disk, item, allowConversion);
    if (value == kDecodeEnd || value == stopCode) break;
    if (item.code != 0) {
      if (item.code == 0x03 || (stopCode == 0x0A && item.code == 0x0A)) break;
      continue;
    }
    if (value >= kFirstGaijiValue) {
      char form[8];
      int length;
      if (disk.decoderState().gaijiMode == GaijiMode::kBitmap) {
        form[0] = markup::kGaiji;
        form[1] = disk.decoderState().fullWidth ? '1' : '0';
        form[2] = static_cast<char>(value >> 8);
        form[3] = static_cast<char>(value & 0xFF);
        length = 4;
      } else {
        length = std::snprintf(form, sizeof form, "[%04x]", static_cast<unsigned>(value));
      }
      if (text.size() + static_cast<size_t>(length) <= room)
        text.append(form, static_cast<size_t>(length));
      continue;
    }
    // A double-byte character is stored whole or not at all.
    const bool pairFollows =
        disk.decoderState().pendingChar != 0 || disk.decoderState().replacementCursor >= 0;
    if (pairFollows && IsSjisLead(static_cast<uint8_t>(value)) && text.size() + 2 > room) break;
    text += static_cast<char>(value);
  }
  return text;
}

uint16_t MapSingleByteGaiji(uint16_t code0F) {
  return static_cast<uint16_t>(code0F <= 0x0F1F ? code0F + 0xE120 : code0F + 0xE200);
}

uint16_t UnmapSingleByteGaiji(uint16_t code) {
  return static_cast<uint16_t>(code <= 0xF03F ? code - 0xE120 : code - 0xE200);
}

}  // namespace morva
