#include "engine/search/compound_search.h"

#include <algorithm>

#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/decode/decoder.h"
#include "engine/decode/marked_text.h"
#include "engine/search/candidate_list.h"
#include "engine/search/compound.h"
#include "engine/text/sjis.h"

namespace morva {
namespace {

// Definition page: byte 1 the number of fields; field records from byte 16,
// each a 32-byte header (byte 0 the number n of sub-entries, bytes 2-31 the
// label) followed by n 16-byte sub-entries (byte 0 the kind, bytes 2-5 a
// page).
constexpr int kFieldsOffset = 16;
constexpr int kFieldHeaderSize = 32;
constexpr int kLabelOffset = 2;
constexpr int kSubEntrySize = 16;
constexpr uint8_t kCandidateListKind = 0x01;

constexpr int kEndOfText = 0x03;
constexpr int kLineBreak = 0x0A;

// The field label: decoded from the label bytes of the record only, up to a
// 0 character or the end of those bytes; at most kLabelBytes, external
// characters as markers.
std::string ReadLabel(TDisk& disk, BookAddress at) {
  std::string label;
  if (disk.Seek(at) != 0) return label;
  ScopedGaijiMode codes(disk.decoderState(), GaijiMode::kBitmap);
  const int64_t end = at.Position() + (kFieldHeaderSize - kLabelOffset);
  EscapeItem item;
  while (disk.Tell().Position() < end || disk.decoderState().pendingChar != 0) {
    const int value = DecodeNext(disk, item, true);
    if (value == kDecodeEnd || item.code == kEndOfText || item.code == kLineBreak) break;
    if (item.code != 0) continue;
    if (value >= kFirstGaijiValue) {
      if (label.size() + 4 > CompoundSearch::kLabelBytes) break;
      label += markup::kGaiji;
      label += disk.decoderState().fullWidth ? '1' : '0';
      label += static_cast<char>(value >> 8);
      label += static_cast<char>(value & 0xFF);
      continue;
    }
    const bool pairFollows = disk.decoderState().CharacterPending();
    const size_t need = pairFollows && IsSjisLead(static_cast<uint8_t>(value)) ? 2 : 1;
    if (label.size() + need > CompoundSearch::kLabelBytes) break;
    label += static_cast<char>(value);
  }
  return label;
}

}  // namespace

CompoundSearch::CompoundSearch(TDisk& disk) : disk_(disk) {}

void CompoundSearch::Reset() {
  loaded_ = -1;
  current_ = -1;
}

void CompoundSearch::ClearFields() {
  for (Field& f : fields_) {
    f.chosenLine = -1;
    f.chosenList = {};
    f.text.clear();
    f.edited = false;
    f.buffer.clear();
  }
}

void CompoundSearch::ReadDefinition(int32_t pageNumber) {
  for (Field& f : fields_) f = Field{};
  if (pageNumber <= 0 || disk_.ReadPage(pageNumber) != 0) return;
  // Labels are read through the decoder, which moves the page buffer on.
  std::array<uint8_t, kPageSize> page;
  std::copy_n(disk_.PageBuffer(), kPageSize, page.begin());

  const int declared = std::min<int>(page[1], kMaxFields);
  int pos = kFieldsOffset;
  for (int i = 0; i < declared && pos + kFieldHeaderSize <= kPageSize; ++i) {
    Field& f = fields_[static_cast<size_t>(i)];
    f.exists = true;
    f.label = ReadLabel(disk_, {pageNumber, pos + kLabelOffset});
    const int subEntries = page[static_cast<size_t>(pos)];
    const int first = pos + kFieldHeaderSize;
    for (int k = 0; k < subEntries; ++k) {
      const int at = first + k * kSubEntrySize;
      if (at + kSubEntrySize > kPageSize) break;
      // Of several candidate-list sub-entries the last one counts.
      if (page[static_cast<size_t>(at)] == kCandidateListKind) {
        const uint32_t top = TDisk::Be32(page.data() + at + 2);
        f.topPage = top > 0x7FFFFFFFu ? 0 : static_cast<int32_t>(top);
      }
    }
    pos = first + subEntries * kSubEntrySize;
  }
}

std::string CompoundSearch::Name(int number) const {
  // The book's MULTI= value names the compound searches in order, separated
  // by commas.
  std::string_view names = disk_.info().multi;
  for (int i = 0; i < number && !names.empty(); ++i) {
    const size_t comma = names.find(',');
    names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 1);
  }
  const std::string_view name = names.substr(0, names.find(','));
  return name.empty() ? Sjis("複合") : std::string(name);
}

CompoundSearch::LoadResult CompoundSearch::Load(int number) {
  LoadResult result;
  count_ = CompoundSearchCount(disk_);
  const bool exists = number >= 0 && number < count_;
  if (!exists) {
    loaded_ = -1;
    for (Field& f : fields_) f = Field{};
  } else if (number != loaded_) {
    ReadDefinition(CompoundDefinitionPage(disk_, number));
    ClearFields();
    loaded_ = number;
  }
  if (exists) result.status = Format("%s %d/%d", Name(number).c_str(), number + 1, count_);
  current_ = -1;
  result.firstField = EnterField(0);
  return result;
}

CompoundSearch::FieldEntry CompoundSearch::EnterField(int f) {
  if (f < 0 || f >= kMaxFields || !fields_[static_cast<size_t>(f)].exists) {
    current_ = -1;
    return {};
  }
  current_ = f;
  Field& field = fields_[static_cast<size_t>(f)];
  field.browsed = {field.topPage, 0};
  return {field.HasCandidates(), field.label};
}

void CompoundSearch::SetFieldText(int f, std::string_view text) {
  if (f < 0 || f >= kMaxFields) return;
  Field& field = fields_[static_cast<size_t>(f)];
  field.text = std::string(SjisCut(text, kValueBytes));
  field.edited = true;
}

int CompoundSearch::CandidateCount() {
  if (current_ < 0) return 0;
  const Field& field = fields_[static_cast<size_t>(current_)];
  if (!field.HasCandidates()) return 0;
  return CountCandidateLines(disk_, field.browsed, kMaxCandidateRows);
}

std::string CompoundSearch::CandidateText(int row) {
  if (current_ < 0) return {};
  const Field& field = fields_[static_cast<size_t>(current_)];
  if (!field.HasCandidates()) return {};
  return ReadCandidateLine(disk_, field.browsed, row, kValueBytes).text;
}

CompoundSearch::Selection CompoundSearch::SelectCandidate(int row) {
  if (current_ < 0) return Selection::kNone;
  Field& field = fields_[static_cast<size_t>(current_)];
  if (!field.HasCandidates()) return Selection::kNone;
  const CandidateLine line = ReadCandidateLine(disk_, field.browsed, row, kValueBytes);
  if (!line.exists) return Selection::kNone;
  if (line.nested) {
    field.browsed = *line.nested;
    return Selection::kNested;
  }
  field.text = CandidateDisplayText(line.text);
  field.edited = false;
  field.chosenLine = row;
  field.chosenList = field.browsed;
  field.buffer.clear();
  return Selection::kValue;
}

void CompoundSearch::Back() {
  if (current_ < 0) return;
  Field& field = fields_[static_cast<size_t>(current_)];
  field.browsed = {field.topPage, 0};
}

std::string CompoundSearch::BuildQuery() {
  std::string query;
  // The operand form "@nm" has one digit for the compound search.
  if (loaded_ < 0 || loaded_ > 9) return query;
  for (int f = 0; f < kMaxFields; ++f) {
    Field& field = fields_[static_cast<size_t>(f)];
    field.buffer.clear();
    if (!field.exists) continue;
    if (field.edited) {
      field.buffer = Trim(field.text);
    } else if (field.HasCandidates() && field.chosenLine >= 0) {
      field.buffer = CandidateQueryText(
          ReadCandidateLine(disk_, field.chosenList, field.chosenLine, kValueBytes).text);
    }
  }
  for (int f = 0; f < kMaxFields; ++f) {
    const std::string& value = fields_[static_cast<size_t>(f)].buffer;
    if (value.empty()) continue;
    // '@', two digits, two quotes and a space come with the value.
    if (query.size() + value.size() + 6 >= kQueryLimit) continue;
    query += '@';
    query += static_cast<char>('0' + loaded_);
    query += static_cast<char>('0' + f);
    query += '"' + value + "\" ";
  }
  return query;
}

}  // namespace morva
