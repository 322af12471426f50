// Reading entries as text: one item, or the whole body item by item. Shared by
// the show, text and copyright commands and by the tests.
#pragma once

#include <functional>
#include <string>

#include "engine/book/book_address.h"

namespace morva {
class GaijiMap;
class TDisk;
class TContent;
}  // namespace morva

namespace morva::cli {

enum class TextFormat { kReadable, kMarked };

// Appends marked text to utf8 in the chosen format; map (if any) gives the
// readable format's external characters.
void RenderMarked(TextFormat format, std::string_view marked, std::string* utf8,
                  const GaijiMap* map = nullptr);

// Appends the item at `at` of book-list row `row`; returns where the next item
// begins.
BookAddress RenderItem(TContent& content, int row, BookAddress at, TextFormat format,
                       std::string* utf8, const GaijiMap* map = nullptr);

// Renders the body from `from` to the end of the body text (the end page of
// index 0x00, or the end of data), handing each item's text to sink; a sink
// that returns false ends the run.
void RenderBody(TDisk& disk, int row, BookAddress from, TextFormat format,
                const std::function<bool(std::string& itemUtf8)>& sink,
                const GaijiMap* map = nullptr);

}  // namespace morva::cli
