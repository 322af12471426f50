#include "engine/decode/content.h"

#include <algorithm>

#include "engine/book/report.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/decode/decoder.h"
#include "engine/decode/item_formatter.h"

namespace morva {

namespace {

constexpr uint8_t kCopyrightIndex = 0x02;
constexpr int kEarlierStartUnits = 3000;

// Sets the Scroll setting for one run (the decoder reads it too) and puts
// the user's value back afterwards.
class ScrollForRun {
 public:
  ScrollForRun(EngineSettings& settings, bool scroll)
      : settings_(settings), saved_(settings.scroll) {
    settings_.scroll = scroll;
  }
  ~ScrollForRun() { settings_.scroll = saved_; }
  ScrollForRun(const ScrollForRun&) = delete;
  ScrollForRun& operator=(const ScrollForRun&) = delete;

 private:
  EngineSettings& settings_;
  bool saved_;
};

// "  この文献の保護情報は、表示%s、印刷%s、引用%sです。\n": bit set = forbidden.
std::string ProtectionLine(int protection) {
  static const std::string forbidden = Sjis("禁止");
  static const std::string allowed = Sjis("許可");
  static const std::string parts[4] = {Sjis("  この文献の保護情報は、表示"), Sjis("、印刷"),
                                       Sjis("、引用"), Sjis("です。\n")};
  std::string line = parts[0];
  for (int bit = 0; bit < 3; ++bit) {
    line += (protection >> bit & 1) ? forbidden : allowed;
    line += parts[bit + 1];
  }
  return line;
}

}  // namespace

TContent::TContent(TDisk& disk) : disk_(disk) { buffer_.reserve(16 * 1024); }

TContent::RunResult TContent::Run(int row, BookAddress at, bool scroll, BookAddress previousNext,
                                  std::string* out) {
  WaitCursor wait(disk_.reporter());
  ScrollForRun scrollSetting(disk_.settings(), scroll);
  RunResult result;
  endOfData_ = false;
  disk_.decoderState().pictureFlag = false;
  disk_.decoderState().refParamFlag = false;
  if (row >= 0 && !disk_.SelectSubbook(row)) return result;
  disk_.decoderState().contentStart = at;
  // A failed seek leaves the reader on the old page; nothing may be read.
  if (disk_.Seek(at) != 0) return result;

  ItemFormatter formatter(disk_, scroll, at, previousNext, *out);
  formatter.Run();
  result.read = true;
  result.following = formatter.Following();
  result.next = formatter.Next();
  result.nextFileOffset = formatter.NextFileOffset();
  endOfData_ = formatter.EndOfData();
  return result;
}

bool TContent::FormatItem(int row, BookAddress at) {
  if (!file_.Open(disk_.MarkedTextPath())) return false;
  buffer_.clear();
  const RunResult result = Run(row, at, false, {}, &buffer_);
  file_.Append(buffer_);
  return file_.Close() && result.read;
}

BookAddress TContent::FormatItemTo(int row, BookAddress at, std::string* out) {
  const RunResult result = Run(row, at, false, {}, out);
  return result.read ? result.following : BookAddress{};
}

bool TContent::FormatWindow(int row, int direction, BookAddress* start, BookAddress* next,
                            int64_t* lengthOut) {
  if (lengthOut) *lengthOut = 0;
  if (!file_.Open(disk_.MarkedTextPath())) return false;
  if (row >= 0 && !disk_.SelectSubbook(row)) {
    file_.Close();  // leaves the file empty
    return false;
  }
  disk_.decoderState().refParamFlag = false;
  if (direction < 0) {
    *next = *start;
    *start = FindEarlierStart(*start);
  } else if (direction > 0) {
    *start = *next;
    *next = {};
  } else {
    *next = {};
  }
  buffer_.clear();
  const RunResult result = Run(row, *start, true, *next, &buffer_);
  *next = result.read ? result.next : *start;
  if (lengthOut) *lengthOut = result.read ? result.nextFileOffset : 0;
  file_.Append(buffer_);
  return file_.Close() && result.read;
}

BookAddress TContent::FindEarlierStart(BookAddress given) {
  WaitCursor wait(disk_.reporter());
  // About one window before the given place, at an even offset (text codes
  // are two bytes long), never before the first page.
  const int64_t window = std::clamp(disk_.settings().bufferSize, 3000, 100000);
  BookAddress from = BookAddress::FromPosition(std::max<int64_t>(given.Position() - window, 0));
  from.offset &= ~1;

  BookAddress chosen = given;
  if (disk_.Seek(from) == 0) {
    for (int i = 0; i < kEarlierStartUnits; ++i) {
      const BookAddress unitStart = disk_.Tell();
      EscapeItem item;
      if (DecodeNext(disk_, item, false) == kDecodeEnd) break;
      if (item.code == 0x09) {
        if (TDisk::CompareAddresses(unitStart, given) < 0) chosen = unitStart;
        break;
      }
    }
  }
  // Items that end at the end-of-text code are best begun right after the
  // start-of-text code that opens them.
  if (disk_.info().nEnd != 0 && !disk_.subbook().specialTitle && disk_.Seek(chosen) == 0) {
    while (TDisk::CompareAddresses(disk_.Tell(), given) < 0) {
      EscapeItem item;
      if (DecodeNext(disk_, item, false) == kDecodeEnd) break;
      if (item.code == 0x02) chosen = disk_.Tell();
    }
  }
  return chosen;
}

bool TContent::CopyrightTo(std::string* out) {
  if (disk_.subbook().indexes.Has(kCopyrightIndex)) {
    Run(-1, {disk_.subbook().indexes.Start(kCopyrightIndex), 0}, false, {}, out);
    *out += ProtectionLine(disk_.subbook().protection);
  } else if (disk_.SingleByteBook()) {
    *out += "  The information in this compact disc is protected by international copyright laws. ";
    *out += "The information may not be copied, reduced or translated";
    *out += " by any means without prior consent.\n";
  } else {
    static const std::string notice = Sjis(
        "  このＣＤ－ＲＯＭに格納されているデータは著作権法によって保護されています。"
        "無断で転載・複製することはできません。\n\n");
    *out += notice;
    *out += ProtectionLine(disk_.subbook().protection);
  }
  return true;
}

bool TContent::CopyrightPage() {
  if (!file_.Open(disk_.MarkedTextPath())) return false;
  buffer_.clear();
  CopyrightTo(&buffer_);
  file_.Append(buffer_);
  return file_.Close();
}

void TContent::RequestReferenceParameters() { disk_.decoderState().refParamFlag = true; }

}  // namespace morva
