#include "engine/decode/item_formatter.h"

#include <algorithm>
#include <span>

#include "engine/book/gaiji_map.h"
#include "engine/book/messages.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/decode/markup_writer.h"
#include "engine/text/sjis.h"

namespace morva {

namespace {

using namespace markup;

// Book texts written into marked text, converted to Shift-JIS once.
struct Captions {
  std::string picture = Sjis("[図]");
  std::string sound = Sjis("[音]");
  std::string rules = Sjis("[規定]");
  std::string contents = Sjis("[目次]");
};

const Captions& GetCaptions() {
  static const Captions captions;
  return captions;
}

constexpr char kFullWidthArrow[] = "\x81\xA8";  // →
constexpr char kAsciiArrow[] = "->";

// The window size of continuous display, kept within the range the options
// dialog allows so that a damaged settings file cannot make windows empty.
int64_t WindowSize(int bufferSize) { return std::clamp(bufferSize, 3000, 100000); }

// A window without indents or new lines is cut at this many window sizes.
constexpr int64_t kWindowLimitFactor = 4;

// The text of every JIS X 0208 code (rows and cells 0x21..0x7E) in both
// widths, worked out once: runs of plain characters are the bulk of a body.
class PlainCharacterTable {
 public:
  struct Text {
    uint8_t length;
    uint8_t bytes[2];
  };

  PlainCharacterTable() {
    for (int width = 0; width < 2; ++width)
      for (int high = 0x21; high <= 0x7E; ++high)
        for (int low = 0x21; low <= 0x7E; ++low) {
          Text& text = texts_[width][Index(static_cast<uint8_t>(high), static_cast<uint8_t>(low))];
          text.length = static_cast<uint8_t>(
              PlainCharacterBytes(static_cast<uint16_t>(high << 8 | low), width == 1, text.bytes));
        }
  }

  // REQUIRES: both bytes in 0x21..0x7E.
  const Text& Get(bool fullWidth, uint8_t high, uint8_t low) const {
    return texts_[fullWidth][Index(high, low)];
  }

 private:
  static constexpr size_t kCells = 94;
  static size_t Index(uint8_t high, uint8_t low) { return (high - 0x21u) * kCells + (low - 0x21u); }
  Text texts_[2][kCells * kCells] = {};
};

const PlainCharacterTable& PlainCharacters() {
  static const PlainCharacterTable table;
  return table;
}

bool IsJisByte(uint8_t b) { return static_cast<uint8_t>(b - 0x21) < 0x5E; }

}  // namespace

ItemFormatter::ItemFormatter(TDisk& disk, bool scroll, BookAddress start, BookAddress previousNext,
                             std::string& out)
    : disk_(disk),
      scroll_(scroll),
      start_(start),
      previousNext_(previousNext),
      out_(out),
      base_(out.size()),
      bufferSize_(WindowSize(disk.settings().bufferSize)) {}

void ItemFormatter::Run() {
  for (;;) {
    TakePlainRun();
    const BookAddress unitStart = disk_.Tell();
    EscapeItem item;
    const int value = DecodeNext(disk_, item, true);
    if (value == kDecodeEnd) {
      endOfData_ = true;
      following_ = unitStart;
      break;
    }
    Ending ending = Ending::kNone;
    if (item.code == 0) {
      ending = Text(value);
    } else {
      expectTrail_ = false;
      ending = Escape(item, unitStart);
    }
    if (ending == Ending::kNone) ending = CheckLimits(item.code);
    if (ending == Ending::kBeforeUnit) {
      following_ = previousWasIndent_ ? previousIndentStart_ : unitStart;
      break;
    }
    if (ending == Ending::kAfterUnit) {
      following_ = disk_.Tell();
      break;
    }
    previousWasIndent_ = item.code == 0x09;
    if (previousWasIndent_) previousIndentStart_ = unitStart;
  }
  // A caller walking a body item by item must always get ahead.
  if (!endOfData_ && TDisk::CompareAddresses(following_, start_) <= 0) following_ = disk_.Tell();

  if (!scroll_) {
    AppendNewLineByte();
  } else if (!haveNext_) {
    next_ = start_;
    nextFileOffset_ = 0;
  }
}

ItemFormatter::Ending ItemFormatter::CheckLimits(int code) {
  if (!scroll_ && disk_.info().endCode != 0 && code == disk_.info().endCode)
    return Ending::kAfterUnit;
  // Sizes are checked between characters only, so a cut never leaves half a
  // double-byte character behind.
  if (expectTrail_) return Ending::kNone;
  if (!scroll_ && FileLength() >= disk_.info().nBytes) {
    WarnSizeLimit();
    return Ending::kAfterUnit;
  }
  // Continuous display normally stops at an indent or a new line; text that
  // has neither (damaged data) must not be formatted to the end of the book.
  if (scroll_ && FileLength() >= kWindowLimitFactor * bufferSize_) {
    if (!haveNext_) SetNext(disk_.Tell());
    return Ending::kAfterUnit;
  }
  return Ending::kNone;
}

void ItemFormatter::TakePlainRun() {
  // Inside a line, a plain character changes nothing but the output, so a
  // run of them is converted straight from the page. The first character of
  // a line, a character after a cut-off pair, and anything the decoder has
  // pending take the unit-by-unit path.
  if (atLineStart_ || expectTrail_ || disk_.decoderState().pendingChar != 0 ||
      disk_.decoderState().replacementCursor >= 0 || disk_.decoderState().singleByteBook)
    return;
  const std::span<const uint8_t> page = disk_.UnreadInPage();
  // The run stops short of the size that ends the item or the window: the
  // character that reaches it goes the unit-by-unit way, which ends there.
  const int64_t limit = scroll_ ? kWindowLimitFactor * bufferSize_ : disk_.info().nBytes;
  size_t pairs = 0;
  const size_t most = page.size() / 2;
  while (pairs < most && IsJisByte(page[2 * pairs]) && IsJisByte(page[2 * pairs + 1])) ++pairs;
  // A character gives at most two bytes.
  const int64_t room = limit - FileLength();
  if (room <= 0) return;
  pairs = std::min<size_t>(pairs, static_cast<size_t>((room - 1) / 2));
  if (pairs == 0) return;
  const bool fullWidth = disk_.decoderState().fullWidth;
  const PlainCharacterTable& characters = PlainCharacters();
  const size_t base = out_.size();
  out_.resize(base + 2 * pairs);
  char* out = out_.data() + base;
  for (size_t i = 0; i < pairs; ++i) {
    const PlainCharacterTable::Text& text = characters.Get(fullWidth, page[2 * i], page[2 * i + 1]);
    out[0] = static_cast<char>(text.bytes[0]);
    out[1] = static_cast<char>(text.bytes[1]);
    out += text.length;
  }
  out_.resize(static_cast<size_t>(out - out_.data()));
  disk_.ConsumeInPage(static_cast<int>(2 * pairs));
  textSinceAnchor_ = true;
  headwordOpenEmpty_ = false;
  previousWasIndent_ = false;
}

ItemFormatter::Ending ItemFormatter::Text(int value) {
  // The full-width space is 0x81 0x40; its second byte is still pending.
  const bool blank = value == ' ' || (value == 0x81 && disk_.decoderState().pendingChar == 0x40);
  if (atLineStart_ && !blank) {
    if (++textLines_ >= disk_.info().nCol1) return Ending::kBeforeUnit;
  }
  if (atLineStart_ && disk_.decoderState().pictureFlag && !captionOpen_) {
    out_ += kAnchorStart;
    textSinceAnchor_ = false;
  }
  if (value < kFirstGaijiValue) {
    AppendByte(value);
  } else {
    AppendGaiji(value);
  }
  atLineStart_ = false;
  textSinceAnchor_ = true;
  headwordOpenEmpty_ = false;
  return Ending::kNone;
}

void ItemFormatter::AppendByte(int b) {
  out_ += static_cast<char>(b);
  expectTrail_ = !expectTrail_ && IsSjisLead(static_cast<uint8_t>(b));
}

void ItemFormatter::AppendGaiji(int code) {
  expectTrail_ = false;
  const auto high = static_cast<uint8_t>(code >> 8);
  const auto low = static_cast<uint8_t>(code);
  // Damaged text can pair a lead byte with a control byte; such a code would
  // put a line feed or a 0 (the view's end of text) into the marker, so it
  // is written in the text form instead. Plain text keeps the marker of a
  // code the Unicode map has, for the reader to write its characters.
  const bool marker = disk_.decoderState().gaijiMode == GaijiMode::kBitmap ||
                      (disk_.decoderState().unicodeMap != nullptr &&
                       disk_.decoderState().unicodeMap->Find(
                           disk_.decoderState().fullWidth, static_cast<uint16_t>(code)) != nullptr);
  if (marker && high >= 0x20 && low >= 0x20) {
    if (highlightOpen_) out_ += kHighlightEnd;
    out_ += kGaiji;
    out_ += disk_.decoderState().fullWidth ? '1' : '0';
    out_ += static_cast<char>(high);
    out_ += static_cast<char>(low);
    return;
  }
  out_ += '[';
  out_ += disk_.decoderState().fullWidth ? 'z' : 'h';
  AppendHex(out_, static_cast<uint32_t>(code), 4);
  out_ += ']';
}

void ItemFormatter::AppendNewLineByte() {
  out_ += kNewLine;
  ++newLines_;
}

void ItemFormatter::AppendArrowIfNoText() {
  if (!textSinceAnchor_) out_ += disk_.SingleByteBook() ? kAsciiArrow : kFullWidthArrow;
}

void ItemFormatter::SetNext(BookAddress at) {
  haveNext_ = true;
  next_ = at;
  nextFileOffset_ = FileLength();
}

void ItemFormatter::WarnSizeLimit() {
  std::string text(Message(19, disk_.settings().english));
  const size_t field = text.find("%ld");
  if (field != std::string::npos) text.replace(field, 3, std::to_string(disk_.info().nBytes));
  disk_.reporter().Warning(text);
}

ItemFormatter::Ending ItemFormatter::Escape(const EscapeItem& item, BookAddress unitStart) {
  const Captions& captions = GetCaptions();
  switch (item.code) {
    case 0x03:  // end of text
      AppendNewLineByte();
      return disk_.info().nEnd != 0 ? Ending::kAfterUnit : Ending::kNone;
    case 0x06: out_ += kSubscript; break;
    case 0x07:
    case 0x0F: out_ += kScriptEnd; break;
    case 0x0E: out_ += kSuperscript; break;
    case 0x10: out_ += kNoBreakStart; break;
    case 0x11: out_ += kNoBreakEnd; break;
    case 0x09: return Indent(item, unitStart);
    case 0x0A: return NewLine();
    case 0x42:  // anchor starts
    case 0x43:
    case 0x45:
      if (!captionOpen_) {
        out_ += kAnchorStart;
        textSinceAnchor_ = false;
      }
      captionOpen_ = false;
      break;
    case 0x44:  // inline picture: its caption is the anchor text
      pictureP1_ = item.p1;
      pictureP2_ = item.p2;
      out_ += kAnchorStart;
      out_ += captions.picture;
      textSinceAnchor_ = true;
      captionOpen_ = true;
      break;
    case 0x48:  // sound
      soundKind_ = item.p1;
      soundStart_ = item.p2;
      soundEnd_ = item.p3;
      out_ += kAnchorStart;
      out_ += captions.sound;
      textSinceAnchor_ = true;
      captionOpen_ = true;
      break;
    case 0x49:  // reference start (also a whole 0x4C block)
      if (item.p3 > 0) {
        out_ += kIndent;
        out_ += static_cast<char>(std::min(item.p3, kMaxIndentLevel) + 0x20);
      }
      out_ += kAnchorStart;
      textSinceAnchor_ = false;
      reference_ = {item.p1, item.p2};
      break;
    case 0x52:  // reference ends
    case 0x62:
    case 0x63:
    case 0x6A:
    case 0x6E:
      if (disk_.subbook().specialTitle && (item.code == 0x6A || item.code == 0x6E)) {
        out_ += kAnchorStart;
        out_ += item.code == 0x6A ? captions.rules : captions.contents;
        textSinceAnchor_ = true;
      }
      AppendArrowIfNoText();
      AppendAddressMarker(out_, item.code == 0x52 ? 'G' : 'R', item.p1, item.p2);
      captionOpen_ = false;
      break;
    case 0x64:  // inline picture end: address, then width and height fields
      AppendArrowIfNoText();
      out_ += kMarkerStart;
      out_ += kPictureMarkerLength;
      out_ += 'G';
      AppendHex(out_, static_cast<uint32_t>(item.p1), 8);
      AppendHex(out_, static_cast<uint32_t>(item.p2), 4);
      out_ += ' ';
      AppendHex(out_, static_cast<uint32_t>(pictureP2_), 4);
      AppendHex(out_, static_cast<uint32_t>(pictureP1_), 4);
      captionOpen_ = false;
      break;
    case 0x65:
      out_ += kMarkerStart;
      out_ += kNoTargetMarkerLength;
      out_ += 'D';
      captionOpen_ = false;
      break;
    case 0x68:  // sound end
      AppendArrowIfNoText();
      out_ += kMarkerStart;
      out_ += kSoundMarkerLength;
      out_ += 'S';
      AppendHex(out_, static_cast<uint32_t>(soundKind_), 2);
      AppendHex(out_, static_cast<uint32_t>(soundStart_), 6);
      AppendHex(out_, static_cast<uint32_t>(soundEnd_), 6);
      captionOpen_ = false;
      break;
    case 0x69:
      if (disk_.subbook().specialTitle) reference_ = {item.p1, item.p2};
      AppendAddressMarker(out_, 'R', reference_.page, reference_.offset);
      break;
    case 0xE0:  // highlight of a kind
      if (item.p1 == 1) {
        out_ += kHighlightStart;
        highlightOpen_ = true;
      } else if (item.p1 == 3) {
        out_ += kHighlight3;
      } else {
        out_ += kHeadwordStart;
      }
      break;
    case 0xE1:
      if (highlightOpen_) {
        out_ += kHighlightEnd;
        highlightOpen_ = false;
      }
      out_ += kHeadwordEnd;
      break;
    default: return Headword(item.code);
  }
  return Ending::kNone;
}

ItemFormatter::Ending ItemFormatter::Indent(const EscapeItem& item, BookAddress unitStart) {
  if (scroll_) {
    if (!haveNext_) {
      // Without a previous window the next one starts at the first indent
      // past half a window; going back, at the first indent that reaches the
      // old window's start.
      const bool due = previousNext_.page == 0
                           ? FileLength() >= bufferSize_ / 2
                           : TDisk::CompareAddresses(unitStart, previousNext_) >= 0;
      if (due) SetNext(unitStart);
    }
    if (haveNext_ && FileLength() >= 2 * bufferSize_) return Ending::kBeforeUnit;
  }
  indent_ = item.p1;
  if (item.p1 == 0 && ++indentZeroCount_ >= disk_.info().nTab1) return Ending::kBeforeUnit;
  out_ += kIndent;
  out_ += static_cast<char>(std::clamp(item.p1, 0, kMaxIndentLevel) + 0x20);
  if (item.p1 > 0) atLineStart_ = false;
  return Ending::kNone;
}

ItemFormatter::Ending ItemFormatter::NewLine() {
  if (disk_.info().newlineOff) {
    out_ += ' ';
    newLineAsSpace_ = true;
  } else {
    AppendNewLineByte();
  }
  if (indent_ == 0) atLineStart_ = true;
  inHeadwordLine_ = false;
  if (scroll_) {
    if (!haveNext_ && FileLength() >= bufferSize_) SetNext(disk_.Tell());
    if (haveNext_ && FileLength() >= 3 * bufferSize_) return Ending::kAfterUnit;
  }
  return Ending::kNone;
}

ItemFormatter::Ending ItemFormatter::Headword(int code) {
  if (code == disk_.decoderState().headwordStart) {
    // Only the first headword of a line counts towards the item's end.
    if (!scroll_ && !inHeadwordLine_) {
      if (++headwordCount_ >= disk_.info().nKey) return Ending::kBeforeUnit;
    }
    if (newLineAsSpace_) {
      AppendNewLineByte();
      newLineAsSpace_ = false;
    }
    inHeadwordLine_ = true;
    out_ += kHeadwordStart;
    headwordOpenEmpty_ = true;
  } else if (code == disk_.decoderState().headwordEnd) {
    if (!headwordOpenEmpty_) out_ += kHeadwordEnd;
  }
  return Ending::kNone;
}

}  // namespace morva
