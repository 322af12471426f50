// Menu: body text whose lines offer choices, each leading to another place of
// the sub-book. A choice is its text between the escapes 1F43 and
// 1F63 page offset (the target in packed decimal); lines end with 1F0A, the
// menu begins with 1F02 and ends with 1F03. Readers list one item per choice,
// headed by the text of its line, and the whole menu as one more item when a
// line holds two or more choices. Layout in docs/formats.md ("Menus").
//
//   Menu menu({pages.NextFreePage(), 0});
//   menu.Line("五十音").Choice("あ行", first).Choices({{"か", ka}, {"さ", sa}});
//   pages.AddSection(index_code::kMenu, menu.Build());
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/book/book_address.h"
#include "tools/mkbook/body_text.h"

namespace morva::mkbook {

struct MenuChoice {
  std::string text;  // UTF-8
  BookAddress target;
};

class Menu {
 public:
  explicit Menu(BookAddress start, TextCoding coding = TextCoding::kJis);

  // A line without choices (a title or a note).
  Menu& Line(std::string_view utf8);
  // A line with one choice.
  Menu& Choice(std::string_view utf8, BookAddress target);
  // A line of choices after an optional lead text, separated by a space
  // (full width in a JIS book).
  Menu& Choices(const std::vector<MenuChoice>& choices, std::string_view lead = {});

  // Where each line begins, in order: the heading address readers give the
  // choices of that line.
  const std::vector<BookAddress>& LineStarts() const { return lineStarts_; }

  // The menu's bytes, closed with 1F03; the builder stays usable.
  std::string Build() const;

 private:
  BodyText text_;
  std::vector<BookAddress> lineStarts_;
};

}  // namespace morva::mkbook
