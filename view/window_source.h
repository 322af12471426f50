// Where continuous display gets its stretches of marked text: something that
// rewrites the marked-text file with the body text around an address. The view
// uses content decoding (ContentWindowSource); layout tests use a fake.
#pragma once

#include <cstdint>

#include "engine/book/book_address.h"

namespace morva {

class WindowSource {
 public:
  virtual ~WindowSource() = default;
  // Writes a stretch of sub-book `row` into the marked-text file.
  // direction < 0: the stretch that precedes *start (the old start becomes
  // *next); > 0: the stretch that begins at *next; 0: the stretch that begins
  // at *start. On return *start and *next bound the stretch and *lengthOut is
  // the file offset at which *next lies. False when nothing could be written.
  virtual bool FormatWindow(int row, int direction, BookAddress* start, BookAddress* next,
                            int64_t* lengthOut) = 0;
};

}  // namespace morva
