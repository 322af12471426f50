#include "tools/mkbook/edict_book.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tools/mkbook/body_text.h"
#include "tools/mkbook/edict_keys.h"
#include "tools/mkbook/edict_source.h"
#include "tools/mkbook/index_page.h"
#include "tools/mkbook/index_tree.h"
#include "tools/mkbook/jis_text.h"
#include "tools/mkbook/menu.h"
#include "tools/mkbook/subbook_pages.h"

namespace morva::mkbook {
namespace {

constexpr uint16_t kOpenBracket = 0x215A;                         // 【
constexpr uint16_t kCloseBracket = 0x215B;                        // 】
constexpr std::string_view kGlossSeparator = "\x21\x28\x21\x21";  // "；　"
constexpr uint8_t kKanaForward = 0x90;
constexpr uint8_t kKanaBackward = 0x70;
constexpr uint8_t kAlphaForward = 0x92;

struct Keys {
  std::vector<TreeEntry> kanaForward, kanaBackward, notationForward, notationBackward, alpha;
};

// A gloss that begins a numbered sense after the first: "(n) (2) ...".
bool StartsNewSense(std::string_view gloss) {
  while (!gloss.empty() && gloss.front() == '(') {
    const size_t close = gloss.find(')');
    if (close == std::string_view::npos) return false;
    const std::string_view tag = gloss.substr(1, close - 1);
    if (!tag.empty() && tag != "1" && tag.find_first_not_of("0123456789") == std::string_view::npos)
      return true;
    gloss.remove_prefix(close + 1);
    while (!gloss.empty() && gloss.front() == ' ') gloss.remove_prefix(1);
  }
  return false;
}

void AddKeys(Keys& keys, const EdictEntry& e, BookAddress text, BookAddress heading) {
  if (std::string kana = EdictKanaKey(e); !kana.empty()) {
    keys.kanaBackward.push_back({CutEdictKey(ReverseJisKey(kana)), text, heading});
    keys.kanaForward.push_back({CutEdictKey(std::move(kana)), text, heading});
  }
  if (std::string notation = EdictNotationKey(e); !notation.empty()) {
    keys.notationBackward.push_back({CutEdictKey(ReverseJisKey(notation)), text, heading});
    keys.notationForward.push_back({CutEdictKey(std::move(notation)), text, heading});
  }
  for (std::string& word : EdictAlphaKeys(e))
    keys.alpha.push_back({std::move(word), text, heading});
}

void WriteEntry(BodyText& body, const EdictEntry& e, Keys& keys) {
  const BookAddress text = body.Here();
  body.Indent(1).BeginHeadword();
  const BookAddress heading = body.Here();
  if (e.reading.empty()) {
    body.Raw(e.headword);
  } else {
    body.Raw(e.reading).Jis(kOpenBracket).Raw(e.headword).Jis(kCloseBracket);
  }
  body.EndHeadword().Newline().Indent(2).BeginNarrow();
  bool first = true;
  for (const std::string& gloss : e.glosses) {
    if (gloss == "(P)") continue;  // the "common word" mark says nothing to a reader
    if (!first) {
      if (StartsNewSense(gloss)) body.EndNarrow().Newline().BeginNarrow();
      else body.Raw(kGlossSeparator);
    }
    body.Raw(JisFromEuc(gloss));
    first = false;
  }
  body.EndNarrow().Newline();
  AddKeys(keys, e, text, heading);
}

// The first entry of each kana row (あ, か, さ ...) in the sorted kana keys.
Menu KanaMenu(int32_t page, const std::vector<TreeEntry>& sortedKana) {
  struct Row {
    const char* name;
    uint16_t first;  // canonical keys hold only plain kana, so the row's first cell
  };
  static constexpr Row kRows[] = {
      {"あ行", 0x2422}, {"か行", 0x242B}, {"さ行", 0x2435}, {"た行", 0x243F}, {"な行", 0x244A},
      {"は行", 0x244F}, {"ま行", 0x245E}, {"や行", 0x2464}, {"ら行", 0x2469}, {"わ行", 0x246F}};
  constexpr uint16_t kPastLastRow = 0x2474;
  Menu menu({page, 0});
  menu.Line("五十音順");
  const size_t rows = std::size(kRows);
  for (size_t r = 0; r < rows; ++r) {
    const uint16_t end = r + 1 < rows ? kRows[r + 1].first : kPastLastRow;
    const std::string from{static_cast<char>(kRows[r].first >> 8),
                           static_cast<char>(kRows[r].first & 0xFF)};
    const auto it =
        std::lower_bound(sortedKana.begin(), sortedKana.end(), from,
                         [](const TreeEntry& e, const std::string& k) { return e.key < k; });
    if (it == sortedKana.end()) continue;
    const auto firstCode = static_cast<uint16_t>(static_cast<uint8_t>(it->key[0]) << 8 |
                                                 static_cast<uint8_t>(it->key[1]));
    if (firstCode < end) menu.Choice(kRows[r].name, it->body);
  }
  return menu;
}

std::string CopyrightPage(int32_t page, const std::vector<std::string>& notices) {
  BodyText text({page, 0});
  text.StartText();
  text.Text("和英辞典（ＥＤＩＣＴ）").Newline();
  text.Text("この辞書は、EDRDG の EDICT ファイルからモルバの見本として作られたものです。")
      .Newline();
  text.Narrow("EDICT Japanese-English Dictionary File").Newline();
  text.Narrow("Copyright (C) Electronic Dictionary Research and Development Group (EDRDG)")
      .Newline();
  text.Narrow("Used under the Creative Commons Attribution-ShareAlike 3.0 licence (CC BY-SA 3.0)")
      .Newline();
  text.Narrow("http://www.edrdg.org/").Newline();
  for (const std::string& notice : notices)
    text.BeginNarrow().Raw(JisFromEuc(notice)).EndNarrow().Newline();
  return text.EndText().Bytes();
}

void AddIndex(SubbookPages& pages, uint8_t code, std::vector<TreeEntry> entries) {
  if (entries.empty()) return;
  const IndexTree tree = BuildIndexTree(std::move(entries), pages.NextFreePage());
  pages.AddSection(code, tree.pages);
}

}  // namespace

EdictBook BuildEdictBook(std::istream& in, const EdictBookOptions& options) {
  EdictBook book;
  EdictBookStats& stats = book.stats;
  SubbookPages pages;
  Keys keys;
  std::vector<std::string> notices;
  {
    BodyText body({pages.NextFreePage(), 0});
    body.StartText();
    std::string line;
    EdictEntry entry;
    while ((options.limit == 0 || stats.entries < options.limit) && std::getline(in, line)) {
      ++stats.lines;
      switch (ParseEdictLine(line, entry)) {
        case EdictLine::kEntry:
          WriteEntry(body, entry, keys);
          ++stats.entries;
          break;
        case EdictLine::kHeader: notices = entry.glosses; break;
        case EdictLine::kOutsideJis: ++stats.outsideJis; break;
        case EdictLine::kMalformed: ++stats.malformed; break;
        case EdictLine::kBlank: break;
      }
    }
    if (stats.entries == 0) throw std::runtime_error("no EDICT entries found");
    body.EndText();
    pages.AddSection(index_code::kBody, body.Bytes());
  }

  std::stable_sort(keys.kanaForward.begin(), keys.kanaForward.end(),
                   [](const TreeEntry& a, const TreeEntry& b) { return a.key < b.key; });
  pages.AddSection(index_code::kMenu, KanaMenu(pages.NextFreePage(), keys.kanaForward).Build());
  pages.AddSection(index_code::kCopyright, CopyrightPage(pages.NextFreePage(), notices));

  stats.kanaKeys = keys.kanaForward.size();
  stats.notationKeys = keys.notationForward.size();
  stats.alphaKeys = keys.alpha.size();
  AddIndex(pages, kKanaForward, std::move(keys.kanaForward));
  AddIndex(pages, kKanaBackward, std::move(keys.kanaBackward));
  AddIndex(pages, index_code::kForwardWord, std::move(keys.notationForward));
  AddIndex(pages, index_code::kBackwardWord, std::move(keys.notationBackward));
  AddIndex(pages, kAlphaForward, std::move(keys.alpha));

  Subbook subbook;
  subbook.record.title = JisFromUtf8("和英辞典（ＥＤＩＣＴ）");
  subbook.record.directory = "edict";
  subbook.body = pages.Build();
  stats.pages = subbook.body.size() / kPageSize;
  book.volume.AddSubbook(std::move(subbook));
  return book;
}

}  // namespace morva::mkbook
