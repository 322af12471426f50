#include "tools/mkbook/compound.h"

#include <stdexcept>

#include "tools/mkbook/bytes.h"
#include "tools/mkbook/jis_text.h"

namespace morva::mkbook {
namespace {

using namespace compound_layout;

constexpr uint8_t kCompoundCode = 0xFF;

bool IsIndexKind(uint8_t kind) {
  return kind == 0xA1 || kind == 0x91 || kind == 0xB0 || kind == 0xB1;
}

std::string IndexSubEntry(const CompoundIndex& index) {
  if (!IsIndexKind(index.kind)) throw std::invalid_argument("unknown compound index kind");
  std::string e(kSubEntrySize, '\0');
  e[0] = static_cast<char>(index.kind);
  Put(e, 2, Be32(index.startPage));
  Put(e, 6, Be32(index.pageCount));
  for (size_t k = 0; k < index.options.size(); ++k) e[11 + k] = static_cast<char>(index.options[k]);
  return e;
}

std::string CandidateSubEntry(int32_t page) {
  std::string e(kSubEntrySize, '\0');
  e[0] = static_cast<char>(kCandidateList);
  Put(e, 2, Be32(static_cast<uint32_t>(page)));
  return e;
}

std::string FieldRecord(const CompoundField& f) {
  const std::string label = JisFromUtf8(f.label);
  if (label.size() > static_cast<size_t>(kLabelLength))
    throw std::length_error("field label longer than 30 bytes");
  std::string r(kFieldHeaderSize, '\0');
  r[0] = static_cast<char>(f.candidatePage != 0 ? 2 : 1);
  Put(r, 2, label);
  r += IndexSubEntry(f.index);
  if (f.candidatePage != 0) r += CandidateSubEntry(f.candidatePage);
  return r;
}

}  // namespace

CompoundIndex IndexOf(const IndexTree& tree, uint8_t kind, std::array<uint8_t, 3> options) {
  return {kind, static_cast<uint32_t>(tree.firstPage), static_cast<uint32_t>(tree.PageCount()),
          options};
}

std::string BuildCompoundDefinition(const std::vector<CompoundField>& fields,
                                    std::optional<uint8_t> declaredFieldCount) {
  if (fields.size() > 255) throw std::length_error("more than 255 fields");
  std::string page(kFieldsOffset, '\0');
  page[1] = static_cast<char>(declaredFieldCount.value_or(static_cast<uint8_t>(fields.size())));
  for (const CompoundField& f : fields) page += FieldRecord(f);
  if (page.size() > static_cast<size_t>(kPageSize))
    throw std::length_error("fields do not fit the definition page");
  page.resize(kPageSize, '\0');
  return page;
}

BookAddress WriteCandidateList(BodyText& text, const std::vector<Candidate>& list) {
  const BookAddress start = text.Here();
  std::vector<std::pair<Placeholder, const Candidate*>> pending;
  for (const Candidate& c : list) {
    if (c.text.empty()) throw std::invalid_argument("an empty candidate would end its list");
    if (c.nested.empty()) {
      text.Text(c.text);
    } else {
      text.BeginKeyword().Text(c.text).Escape(0x63);
      pending.emplace_back(text.ReserveAddress(), &c);
    }
    text.Newline();
  }
  text.Newline();  // the empty line that ends the list
  for (const auto& [placeholder, candidate] : pending)
    text.Patch(placeholder, WriteCandidateList(text, candidate->nested));
  return start;
}

int32_t AddCandidateLists(SubbookPages& pages, const std::vector<Candidate>& list) {
  BodyText text({pages.NextFreePage(), 0});
  WriteCandidateList(text, list);
  return pages.file().AppendPages(text.Bytes());
}

int32_t AddCompoundSearch(SubbookPages& pages, const std::vector<CompoundField>& fields) {
  return pages.AddSection(kCompoundCode, BuildCompoundDefinition(fields));
}

}  // namespace morva::mkbook
