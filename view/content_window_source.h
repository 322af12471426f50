// The window source of continuous display in the program: content decoding
// (TContent) writes each stretch of body text into the marked-text file.
#pragma once

#include "engine/decode/content.h"
#include "view/window_source.h"

namespace morva {

class ContentWindowSource : public WindowSource {
 public:
  explicit ContentWindowSource(TDisk& disk) : content_(disk) {}
  bool FormatWindow(int row, int direction, BookAddress* start, BookAddress* next,
                    int64_t* lengthOut) override {
    return content_.FormatWindow(row, direction, start, next, lengthOut);
  }
  TContent& content() { return content_; }

 private:
  TContent content_;
};

}  // namespace morva
