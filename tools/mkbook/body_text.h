// BodyText: builds a stretch of escape-coded book text (body text, titles,
// copyright pages, later menus) as the bytes that go into a page file.
//
// Text is JIS X 0208 (two bytes per character) or, in a single-byte book, one
// byte per character; an escape sequence is the byte 0x1F, a code byte and
// its parameters, most of them packed decimal. The escapes written here are
// listed in docs/formats.md.
//
// The builder knows the address of its first byte, so Here() tells callers
// where an entry or a link target lies. A link to a place not yet written is
// left as a Placeholder and patched later, here or in the assembled page file
// (PageFile::Patch). Misuse (a character the book cannot hold, a parameter too
// large for its field) throws std::invalid_argument or std::out_of_range.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/book/book_address.h"

namespace morva::mkbook {

enum class TextCoding {
  kJis,         // JIS X 0208 codes; external characters 0xA121..
  kSingleByte,  // single bytes; external characters 0x0F xx
};

// The place of a 6-byte packed-decimal address (4 bytes page, 2 bytes offset)
// that is still to be written.
struct Placeholder {
  BookAddress at;
};

// A CD-audio time: minutes, seconds and frames (1/75 s).
struct CdTime {
  int minutes = 0;
  int seconds = 0;
  int frames = 0;
};

// The 6-byte packed-decimal form of an address: page (8 digits), offset (4).
std::string BcdAddress(BookAddress address);

class BodyText {
 public:
  explicit BodyText(BookAddress start = {1, 0}, TextCoding coding = TextCoding::kJis);

  // Where the first byte lies, and where the next byte will lie.
  BookAddress Start() const { return start_; }
  BookAddress Here() const;
  TextCoding coding() const { return coding_; }
  const std::string& Bytes() const { return bytes_; }
  size_t Size() const { return bytes_.size(); }

  // ---- Text -------------------------------------------------------------
  // UTF-8 text; "\n" writes Newline(). In a JIS book ASCII is stored in its
  // full-width form (wrap it in Narrow to have it shown half-width).
  BodyText& Text(std::string_view utf8);
  BodyText& TextSjis(std::string_view sjis);
  // One 2-byte code as it is, high byte first.
  BodyText& Jis(uint16_t code);
  // An external character: 0xA121.. in a JIS book, 0x0F21.. in a
  // single-byte book (both written as their two bytes).
  BodyText& Gaiji(uint16_t code);
  BodyText& Raw(std::string_view bytes);

  // ---- Escapes ----------------------------------------------------------
  // Any escape: 0x1F, the code, then the parameter bytes as given.
  BodyText& Escape(uint8_t code, std::string_view params = {});

  BodyText& StartText();    // 1F02
  BodyText& EndText();      // 1F03
  BodyText& BeginNarrow();  // 1F04: half-width text begins
  BodyText& EndNarrow();    // 1F05
  BodyText& Narrow(std::string_view utf8);
  BodyText& BeginSubscript();  // 1F06
  BodyText& EndSubscript();    // 1F07
  // 1F09 00 nn: nn is the stored level in packed decimal, 1 for an entry's
  // first line, 2 for one step in, up to 99.
  BodyText& Indent(int level);
  BodyText& Newline();           // 1F0A
  BodyText& BeginSuperscript();  // 1F0E
  BodyText& EndSuperscript();    // 1F0F
  BodyText& BeginNoBreak();      // 1F10
  BodyText& EndNoBreak();        // 1F11

  // 1F41 pp qq ... 1F61; the two parameter bytes are written as given.
  BodyText& BeginHeadword(uint16_t param = 0x0100);
  BodyText& EndHeadword();
  BodyText& Headword(std::string_view utf8);

  // 1F42 ... 1F62 page offset: a link to another place of the sub-book.
  BodyText& BeginReference();
  BodyText& EndReference(BookAddress target);
  // As EndReference, leaving the address to be patched.
  Placeholder EndReferencePending();
  BodyText& Reference(std::string_view utf8, BookAddress target);

  // 1F43 ... 1F63 page offset: a keyword, which menus use for their choices.
  BodyText& BeginKeyword();
  BodyText& EndKeyword(BookAddress target);

  // 1F42 ... 1F52 page offset: a link to a picture's descriptor.
  BodyText& EndPictureReference(BookAddress descriptor);

  // 1F44 with five 2-byte fields (0, 0, height, 0, width), then the caption,
  // then 1F64 page offset with the address of the picture data.
  BodyText& BeginInlinePicture(int width, int height);
  BodyText& EndInlinePicture(BookAddress data);

  // 1F48 kind 00 start length ... 1F68: a CD-audio passage. A time is 4
  // bytes: minutes, seconds, frames in packed decimal, then 00.
  BodyText& BeginSound(int kind, CdTime start, CdTime length);
  BodyText& EndSound();

  // 1FE0 kk kk ... 1FE1: emphasis of a kind (2-byte packed decimal).
  BodyText& BeginEmphasis(int kind = 1);
  BodyText& EndEmphasis();

  // ---- Forward references -------------------------------------------------
  // Writes 6 zero bytes to be patched with an address.
  Placeholder ReserveAddress();
  // Fills a placeholder of this text. Throws std::out_of_range for one that
  // does not lie inside it.
  void Patch(Placeholder placeholder, BookAddress target);

 private:
  BodyText& Char(uint16_t code);

  BookAddress start_;
  TextCoding coding_;
  std::string bytes_;
};

}  // namespace morva::mkbook
