#include "engine/decode/dump.h"

#include <algorithm>
#include <array>

#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/text/jis.h"
#include "engine/text/unicode.h"

namespace morva {

namespace {

constexpr int kRowBytes = 16;
constexpr int kRows = kPageSize / kRowBytes;  // 128: one page's worth
constexpr int kHeaderEvery = 256;
constexpr char kColumnHeader[] =
    "Offs -0--1--2--3--4--5--6--7--8--9--A--B--C--D--E--F 0123456789ABCDEF";

using RowBytes = std::array<uint8_t, kRowBytes>;

// The character column of a JIS book: each byte pair as its character, ".."
// for control bytes and for codes that are not JIS X 0208 characters
// (external characters and unassigned cells included).
void AppendJisColumn(std::string& line, const RowBytes& bytes) {
  for (int i = 0; i < kRowBytes; i += 2) {
    const uint8_t high = bytes[static_cast<size_t>(i)];
    const uint8_t low = bytes[static_cast<size_t>(i) + 1];
    const uint16_t sjis =
        high < 0x20 || low < 0x20 ? 0 : JisToSjis(static_cast<uint16_t>(high << 8 | low));
    if (sjis == 0 || SjisToUnicode(sjis) == 0) {
      line += "..";
    } else {
      line += static_cast<char>(sjis >> 8);
      line += static_cast<char>(sjis & 0xFF);
    }
  }
}

void AppendSingleByteColumn(std::string& line, const RowBytes& bytes) {
  for (uint8_t b : bytes) line += b < 0x20 || b > 0x7F ? '.' : static_cast<char>(b);
}

std::string RowLine(int offset, const RowBytes& bytes, bool singleByte) {
  std::string line = Format("%04X", static_cast<unsigned>(offset));
  for (int i = 0; i < kRowBytes; i += 2)
    line += Format(" %02X %02X", bytes[static_cast<size_t>(i)], bytes[static_cast<size_t>(i) + 1]);
  line += ' ';
  if (singleByte) {
    AppendSingleByteColumn(line, bytes);
  } else {
    AppendJisColumn(line, bytes);
  }
  return line;
}

}  // namespace

std::vector<std::string> DumpPage(TDisk& disk, int row, int32_t page, int32_t offset) {
  offset = std::clamp(offset, 0, kPageSize - 1);
  std::vector<std::string> lines;
  lines.push_back(offset == 0 ? Format("Page = 0x%08lX",
                                       static_cast<unsigned long>(static_cast<uint32_t>(page)))
                              : Format("Position = 0x%08lX:%04X",
                                       static_cast<unsigned long>(static_cast<uint32_t>(page)),
                                       static_cast<unsigned>(offset)));
  int32_t rowOffset = offset & ~(kRowBytes - 1);
  const bool selected = row < 0 || disk.SelectSubbook(row);
  if (!selected || disk.Seek(page, rowOffset) != 0) {
    static const std::string inputError = Sjis("辞書ファイルの入力エラーが発生しました．");
    lines.push_back(inputError);
    return lines;
  }
  for (int r = 0; r < kRows; ++r) {
    if (rowOffset >= kPageSize) {
      ++page;
      rowOffset = 0;
      lines.push_back(Format("Page = %08X", static_cast<unsigned>(page)));
    }
    if (r == 0 || rowOffset % kHeaderEvery == 0) lines.emplace_back(kColumnHeader);
    RowBytes bytes;
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(disk.ReadByte());
    if (std::any_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b != 0; }))
      lines.push_back(RowLine(rowOffset, bytes, disk.SingleByteBook()));
    rowOffset += kRowBytes;
  }
  return lines;
}

std::vector<std::string> DumpCurrentItem(TDisk& disk, int row) {
  if (row >= 0 && !disk.SelectSubbook(row)) return {};
  const BookAddress at = disk.decoderState().contentStart;
  if (at.page <= 0) return {};
  return DumpPage(disk, -1, at.page, at.offset);
}

}  // namespace morva
