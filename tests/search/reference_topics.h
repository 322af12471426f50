// The topic reading of the full-text search written plainly on the text
// decoder, item by item: what the engine's fast reader must agree with.
#pragma once

#include <string>
#include <vector>

#include "engine/book/tdisk.h"
#include "engine/decode/decoder.h"
#include "engine/text/sjis.h"

namespace morva::testing {

struct ReferenceTopic {
  bool exists = false;
  std::string text;
  BookAddress next;
  // Where in the text the reader crosses into another page (before an item
  // that begins on a later page than the one before it, and on both sides of
  // an item that reaches into the next page) or meets an escape: the places a
  // word is most easily torn apart.
  std::vector<size_t> pageBreaks;
  std::vector<size_t> escapes;
};

inline ReferenceTopic ReadReferenceTopic(TDisk& disk, BookAddress at, int32_t endPage, bool fold) {
  ReferenceTopic topic;
  if (at.page <= 0 || at.page > endPage || (at.page == endPage && at.offset >= kPageSize) ||
      disk.Seek(at) != 0)
    return topic;
  auto end = [&topic](BookAddress next) {
    topic.next = next;
    return topic;
  };
  bool lineStart = true, keywordOnLine = false, expectTrail = false;
  int lastIndent = 0, contentLines = 0, zeroIndents = 0, keywords = 0;
  int32_t lastPage = at.Normalised().page;
  auto noteBreak = [&topic](std::vector<size_t>& list) {
    if (list.empty() || list.back() != topic.text.size()) list.push_back(topic.text.size());
  };
  for (;;) {
    const BookAddress start = disk.Tell();
    if (start.page > endPage) return end(start);
    if (start.Normalised().page != lastPage) {
      lastPage = start.Normalised().page;
      noteBreak(topic.pageBreaks);
    }
    EscapeItem item;
    const int value = DecodeNext(disk, item, true);
    if (value == kDecodeEnd) return end(disk.Tell());
    topic.exists = true;
    const bool holdsText = !topic.text.empty();
    if (item.code != 0) {
      const int code = item.code;
      noteBreak(topic.escapes);
      if (code == 0x0A) {
        topic.text += '\n';
        expectTrail = false;
        lineStart = lastIndent == 0;
        keywordOnLine = false;
      } else if (code == 0x09) {
        if (item.p1 == 0 && holdsText && zeroIndents + 1 >= disk.info().nTab1) return end(start);
        if (item.p1 == 0) ++zeroIndents;
        else lineStart = false;
        lastIndent = item.p1;
      } else if (code == 0x42) {
        if (lineStart && holdsText && contentLines + 1 >= disk.info().nCol1) return end(start);
        if (lineStart) ++contentLines;
        lineStart = false;
      } else if (code == 0x03 && disk.info().nEnd != 0) {
        return end(disk.Tell());
      }
      if (code == disk.decoderState().headwordStart && !keywordOnLine) {
        if (!topic.text.empty() && keywords + 1 >= 2) return end(start);
        keywordOnLine = true;
        ++keywords;
      }
      continue;
    }
    std::string unit(1, static_cast<char>(value));
    if (value >= kFirstGaijiValue) unit = "\x1A";
    else if (disk.decoderState().pendingChar != 0)
      unit += static_cast<char>(DecodeNext(disk, item, true));
    if (lineStart && unit[0] != ' ' && unit != "\x81\x40") {
      if (holdsText && contentLines + 1 >= disk.info().nCol1) return end(start);
      ++contentLines;
    }
    lineStart = false;
    const bool reachesNextPage = disk.Tell().page != lastPage;
    if (reachesNextPage) noteBreak(topic.pageBreaks);
    if (unit.size() == 2 && IsSjisLead(static_cast<uint8_t>(unit[0]))) {
      topic.text += unit;
      expectTrail = false;
    } else {
      for (char c : unit) {
        if (expectTrail) expectTrail = false;
        else if (IsSjisLead(static_cast<uint8_t>(c))) expectTrail = true;
        else if (fold && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        topic.text += c;
      }
    }
    if (reachesNextPage) {
      noteBreak(topic.pageBreaks);
      lastPage = disk.Tell().page;
    }
  }
}

}  // namespace morva::testing
