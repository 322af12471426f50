#include "tools/mkbook/menu.h"

namespace morva::mkbook {

Menu::Menu(BookAddress start, TextCoding coding) : text_(start, coding) { text_.StartText(); }

Menu& Menu::Line(std::string_view utf8) { return Choices({}, utf8); }

Menu& Menu::Choice(std::string_view utf8, BookAddress target) {
  return Choices({{std::string(utf8), target}});
}

Menu& Menu::Choices(const std::vector<MenuChoice>& choices, std::string_view lead) {
  const char* space = text_.coding() == TextCoding::kJis ? "　" : " ";
  lineStarts_.push_back(text_.Here());
  text_.Text(lead);
  for (size_t i = 0; i < choices.size(); ++i) {
    if (i > 0) text_.Text(space);
    text_.BeginKeyword().Text(choices[i].text).EndKeyword(choices[i].target);
  }
  text_.Newline();
  return *this;
}

std::string Menu::Build() const {
  BodyText closed = text_;
  return closed.EndText().Bytes();
}

}  // namespace morva::mkbook
