// The topic reading of the full-text search written plainly on the text
// decoder, item by item: what the engine's fast reader must agree with.
#pragma once

#include <string>

#include "engine/book/tdisk.h"
#include "engine/decode/decoder.h"
#include "engine/text/sjis.h"

namespace morva::testing {

struct ReferenceTopic {
  bool exists = false;
  std::string text;
  BookAddress next;
};

inline ReferenceTopic ReadReferenceTopic(TDisk& disk, BookAddress at, int32_t endPage, bool fold) {
  ReferenceTopic topic;
  if (at.page <= 0 || at.page > endPage || (at.page == endPage && at.offset >= kPageSize)) return topic;
  if (disk.Seek(at) != 0) return topic;
  bool lineStart = true;
  int32_t lastIndent = 0;
  int contentLines = 0;
  int zeroIndents = 0;
  int keywords = 0;
  bool keywordOnLine = false;
  bool expectTrail = false;
  auto store = [&](char c) {
    if (expectTrail) {
      expectTrail = false;
    } else if (IsSjisLead(static_cast<uint8_t>(c))) {
      expectTrail = true;
    } else if (fold && c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
    topic.text += c;
  };
  for (;;) {
    const BookAddress start = disk.Tell();
    if (start.page > endPage) {
      topic.next = start;
      return topic;
    }
    EscapeItem item;
    const int value = DecodeNext(disk, item, true);
    if (value == kDecodeEnd) {
      topic.next = disk.Tell();
      return topic;
    }
    topic.exists = true;
    const bool holdsText = !topic.text.empty();
    if (item.code != 0) {
      const int code = item.code;
      if (code == 0x0A) {
        topic.text += '\n';
        expectTrail = false;
        lineStart = lastIndent == 0;
        keywordOnLine = false;
      } else if (code == 0x09) {
        if (item.p1 == 0) {
          if (holdsText && zeroIndents + 1 >= disk.info.nTab1) {
            topic.next = start;
            return topic;
          }
          ++zeroIndents;
        } else {
          lineStart = false;
        }
        lastIndent = item.p1;
      } else if (code == 0x42) {
        if (lineStart) {
          if (holdsText && contentLines + 1 >= disk.info.nCol1) {
            topic.next = start;
            return topic;
          }
          ++contentLines;
        }
        lineStart = false;
      } else if (code == 0x03 && disk.info.nEnd != 0) {
        topic.next = disk.Tell();
        return topic;
      }
      if (code == disk.headwordStart && !keywordOnLine) {
        if (!topic.text.empty() && keywords + 1 >= 2) {
          topic.next = start;
          return topic;
        }
        keywordOnLine = true;
        ++keywords;
      }
      continue;
    }
    std::string unit(1, static_cast<char>(value));
    if (value >= kFirstGaijiValue) {
      unit = "\x1A";
    } else if (disk.pendingChar != 0) {
      unit += static_cast<char>(DecodeNext(disk, item, true));
    }
    if (lineStart) {
      const bool space = unit[0] == ' ' || unit == "\x81\x40";
      if (!space) {
        if (holdsText && contentLines + 1 >= disk.info.nCol1) {
          topic.next = start;
          return topic;
        }
        ++contentLines;
      }
      lineStart = false;
    }
    if (unit.size() == 2 && IsSjisLead(static_cast<uint8_t>(unit[0]))) {
      topic.text += unit;
      expectTrail = false;
    } else {
      for (char c : unit) store(c);
    }
  }
}

}  // namespace morva::testing
