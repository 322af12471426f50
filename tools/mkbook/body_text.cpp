#include "tools/mkbook/body_text.h"

#include <stdexcept>

#include "engine/text/sjis.h"
#include "tools/mkbook/bytes.h"
#include "tools/mkbook/jis_text.h"

namespace morva::mkbook {
namespace {

constexpr char kEsc = 0x1F;

std::string CdTimeBytes(CdTime t) {
  return Bcd(static_cast<uint64_t>(t.minutes), 1) + Bcd(static_cast<uint64_t>(t.seconds), 1) +
         Bcd(static_cast<uint64_t>(t.frames), 1) + std::string(1, '\0');
}

uint64_t Unsigned(int value) {
  if (value < 0) throw std::out_of_range("negative value for a packed-decimal field");
  return static_cast<uint64_t>(value);
}

}  // namespace

std::string BcdAddress(BookAddress address) {
  return Bcd(Unsigned(address.page), 4) + Bcd(Unsigned(address.offset), 2);
}

BodyText::BodyText(BookAddress start, TextCoding coding)
    : start_(start.Normalised()), coding_(coding) {}

BookAddress BodyText::Here() const {
  return BookAddress::FromPosition(start_.Position() + static_cast<int64_t>(bytes_.size()));
}

BodyText& BodyText::Text(std::string_view utf8) {
  size_t from = 0;
  while (from <= utf8.size()) {
    const size_t nl = utf8.find('\n', from);
    const std::string_view piece = utf8.substr(from, nl == std::string_view::npos ? nl : nl - from);
    TextSjis(SjisFromUtf8(piece));
    if (nl == std::string_view::npos) break;
    Newline();
    from = nl + 1;
  }
  return *this;
}

BodyText& BodyText::TextSjis(std::string_view sjis) {
  if (coding_ == TextCoding::kJis) return Raw(JisFromSjis(sjis));
  for (size_t i = 0; i < sjis.size(); ++i) {
    const auto b = static_cast<uint8_t>(sjis[i]);
    if (IsSjisLead(b)) throw std::invalid_argument("double-byte character in a single-byte book");
    if (b < 0x20) throw std::invalid_argument("control byte in text");
    bytes_ += static_cast<char>(b);
  }
  return *this;
}

BodyText& BodyText::Char(uint16_t code) { return Raw(Be16(code)); }
BodyText& BodyText::Jis(uint16_t code) { return Char(code); }
BodyText& BodyText::Gaiji(uint16_t code) { return Char(code); }

BodyText& BodyText::Raw(std::string_view bytes) {
  bytes_ += bytes;
  return *this;
}

BodyText& BodyText::Escape(uint8_t code, std::string_view params) {
  bytes_ += kEsc;
  bytes_ += static_cast<char>(code);
  bytes_ += params;
  return *this;
}

BodyText& BodyText::StartText() { return Escape(0x02); }
BodyText& BodyText::EndText() { return Escape(0x03); }
BodyText& BodyText::BeginNarrow() { return Escape(0x04); }
BodyText& BodyText::EndNarrow() { return Escape(0x05); }
BodyText& BodyText::Narrow(std::string_view utf8) { return BeginNarrow().Text(utf8).EndNarrow(); }
BodyText& BodyText::BeginSubscript() { return Escape(0x06); }
BodyText& BodyText::EndSubscript() { return Escape(0x07); }

BodyText& BodyText::Indent(int level) {
  return Escape(0x09, std::string(1, '\0') + Bcd(Unsigned(level), 1));
}

BodyText& BodyText::Newline() { return Escape(0x0A); }
BodyText& BodyText::BeginSuperscript() { return Escape(0x0E); }
BodyText& BodyText::EndSuperscript() { return Escape(0x0F); }
BodyText& BodyText::BeginNoBreak() { return Escape(0x10); }
BodyText& BodyText::EndNoBreak() { return Escape(0x11); }

BodyText& BodyText::BeginHeadword(uint16_t param) { return Escape(0x41, Be16(param)); }
BodyText& BodyText::EndHeadword() { return Escape(0x61); }
BodyText& BodyText::Headword(std::string_view utf8) {
  return BeginHeadword().Text(utf8).EndHeadword();
}

BodyText& BodyText::BeginReference() { return Escape(0x42); }
BodyText& BodyText::EndReference(BookAddress target) { return Escape(0x62, BcdAddress(target)); }

Placeholder BodyText::EndReferencePending() {
  Escape(0x62);
  return ReserveAddress();
}

BodyText& BodyText::Reference(std::string_view utf8, BookAddress target) {
  return BeginReference().Text(utf8).EndReference(target);
}

BodyText& BodyText::BeginKeyword() { return Escape(0x43); }
BodyText& BodyText::EndKeyword(BookAddress target) { return Escape(0x63, BcdAddress(target)); }

BodyText& BodyText::EndPictureReference(BookAddress descriptor) {
  return Escape(0x52, BcdAddress(descriptor));
}

BodyText& BodyText::BeginInlinePicture(int width, int height) {
  const std::string zero = Bcd(0, 2);
  return Escape(0x44, zero + zero + Bcd(Unsigned(height), 2) + zero + Bcd(Unsigned(width), 2));
}

BodyText& BodyText::EndInlinePicture(BookAddress data) { return Escape(0x64, BcdAddress(data)); }

BodyText& BodyText::BeginSound(int kind, CdTime start, CdTime length) {
  return Escape(0x48, Bcd(Unsigned(kind), 1) + std::string(1, '\0') + CdTimeBytes(start) +
                          CdTimeBytes(length));
}

BodyText& BodyText::EndSound() { return Escape(0x68); }

BodyText& BodyText::BeginEmphasis(int kind) { return Escape(0xE0, Bcd(Unsigned(kind), 2)); }
BodyText& BodyText::EndEmphasis() { return Escape(0xE1); }

Placeholder BodyText::ReserveAddress() {
  const Placeholder p{Here()};
  bytes_.append(6, '\0');
  return p;
}

void BodyText::Patch(Placeholder placeholder, BookAddress target) {
  const int64_t pos = placeholder.at.Position() - start_.Position();
  if (pos < 0 || pos + 6 > static_cast<int64_t>(bytes_.size()))
    throw std::out_of_range("placeholder lies outside this text");
  bytes_.replace(static_cast<size_t>(pos), 6, BcdAddress(target));
}

}  // namespace morva::mkbook
