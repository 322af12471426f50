#include "tools/mkbook/index_tree.h"

#include <algorithm>
#include <stdexcept>

#include "tools/mkbook/bytes.h"

namespace morva::mkbook {
namespace {

constexpr size_t kMaxKey = 255;
constexpr size_t kPageRoom = kPageSize - tree_page::kHeaderSize;

// Index entries hold addresses in binary: 4-byte page, 2-byte offset.
std::string Address(BookAddress a) {
  return Be32(static_cast<uint32_t>(a.page)) + Be16(static_cast<uint16_t>(a.offset));
}

// One page before page numbers are known. Leaf pages hold their stored
// entries; branch pages the keys and child positions of theirs.
struct PageDraft {
  std::string leafBytes;
  size_t count = 0;
  std::vector<std::string> keys;
  std::vector<size_t> children;  // index of the child in the level below
  std::string lastKey;
  int keyLength = 0;  // branch pages
};

// Packs leaf entries into pages as they come.
class LeafPacker {
 public:
  explicit LeafPacker(int maxEntries) : maxEntries_(maxEntries), pages_(1) {}

  // bytes: one stored entry; sortKey: the key a branch entry above names.
  void Add(std::string_view bytes, const std::string& sortKey) {
    PageDraft* page = &pages_.back();
    const bool full = maxEntries_ > 0 && page->count >= static_cast<size_t>(maxEntries_);
    if (page->count > 0 && (full || page->leafBytes.size() + bytes.size() > kPageRoom))
      page = &pages_.emplace_back();
    page->leafBytes += bytes;
    ++page->count;
    page->lastKey = sortKey;
  }

  std::vector<PageDraft> Take() { return std::move(pages_); }

 private:
  int maxEntries_;
  std::vector<PageDraft> pages_;
};

void CheckKey(const std::string& key, const char* what) {
  if (key.empty()) throw std::invalid_argument(std::string("empty ") + what);
  if (key.size() > kMaxKey)
    throw std::invalid_argument(std::string(what) + " longer than 255 bytes");
}

void AppendKeyWithLength(std::string& out, const std::string& key) {
  out += static_cast<char>(key.size());
  out += key;
}

void AppendAddresses(std::string& out, const TreeEntry& e) {
  out += Address(e.body);
  out += Address(e.heading);
}

const std::string& Written(const TreeEntry& e) { return e.written.empty() ? e.key : e.written; }

// Packs the entries of one run of equal keys [from, to) of a grouped index.
void AddGroup(const std::vector<TreeEntry>& es, size_t from, size_t to, LeafLayout layout,
              LeafPacker& packer) {
  const std::string& key = es[from].key;
  bool asSingles = to - from == 1;
  if (layout == LeafLayout::kGroupedWord) {
    const std::string folded = FoldKatakana(key);
    asSingles =
        std::all_of(es.begin() + static_cast<long>(from), es.begin() + static_cast<long>(to),
                    [&](const TreeEntry& e) { return FoldKatakana(Written(e)) == folded; });
  }
  std::string bytes;
  if (asSingles) {
    for (size_t i = from; i < to; ++i) {
      bytes.assign(1, static_cast<char>(tree_entry::kSingle));
      AppendKeyWithLength(bytes, key);
      AppendAddresses(bytes, es[i]);
      packer.Add(bytes, key);
    }
    return;
  }
  // Head: kind, key length, bytes a reader passes over (2 in word indexes,
  // 4 in the others), key, and in keyword indexes the first heading.
  const bool word = layout == LeafLayout::kGroupedWord;
  bytes.assign(1, static_cast<char>(tree_entry::kGroupHead));
  bytes += static_cast<char>(key.size());
  bytes.append(word ? 2 : 4, '\0');
  bytes += key;
  if (layout == LeafLayout::kGroupedKeyword) bytes += Address(es[from].heading);
  packer.Add(bytes, key);
  for (size_t i = from; i < to; ++i) {
    bytes.assign(1, static_cast<char>(tree_entry::kGroupMember));
    if (word) AppendKeyWithLength(bytes, Written(es[i]));
    bytes += Address(es[i].body);
    if (layout != LeafLayout::kGroupedKeyword) bytes += Address(es[i].heading);
    packer.Add(bytes, key);
  }
}

std::vector<PageDraft> PackLeaves(const std::vector<TreeEntry>& es, const IndexTreeOptions& o,
                                  int fixedLength) {
  LeafPacker packer(o.maxLeafEntries);
  std::string bytes;
  switch (o.leaves) {
    case LeafLayout::kPlainWithLengths:
      for (const TreeEntry& e : es) {
        bytes.clear();
        AppendKeyWithLength(bytes, e.key);
        AppendAddresses(bytes, e);
        packer.Add(bytes, e.key);
      }
      break;
    case LeafLayout::kPlainFixed:
      for (const TreeEntry& e : es) {
        bytes = e.key;
        bytes.resize(static_cast<size_t>(fixedLength), '\0');
        AppendAddresses(bytes, e);
        packer.Add(bytes, e.key);
      }
      break;
    default:
      for (size_t from = 0; from < es.size();) {
        size_t to = from + 1;
        while (to < es.size() && es[to].key == es[from].key) ++to;
        AddGroup(es, from, to, o.leaves, packer);
        from = to;
      }
      break;
  }
  return packer.Take();
}

// The branch level above `below`: one entry per page of it.
std::vector<PageDraft> PackBranches(const std::vector<PageDraft>& below,
                                    const IndexTreeOptions& o) {
  std::vector<PageDraft> pages(1);
  for (size_t child = 0; child < below.size(); ++child) {
    const std::string& key = below[child].lastKey;
    PageDraft* page = &pages.back();
    const int length = o.branchKeyLength > 0
                           ? o.branchKeyLength
                           : std::max(page->keyLength, static_cast<int>(key.size()));
    const size_t needed = (page->keys.size() + 1) * (static_cast<size_t>(length) + 4);
    const bool full =
        o.maxBranchEntries > 0 && static_cast<int>(page->keys.size()) >= o.maxBranchEntries;
    if (!page->keys.empty() && (full || needed > kPageRoom)) page = &pages.emplace_back();
    page->keys.push_back(key);
    page->children.push_back(child);
    page->lastKey = key;
    page->keyLength = o.branchKeyLength > 0
                          ? o.branchKeyLength
                          : std::max(page->keyLength, static_cast<int>(key.size()));
  }
  return pages;
}

std::string Header(uint8_t kind, int keyLength, size_t count) {
  return std::string(1, static_cast<char>(kind)) + static_cast<char>(keyLength) +
         Be16(static_cast<uint16_t>(count));
}

uint8_t LevelBits(size_t i, size_t count) {
  uint8_t bits = 0;
  if (i == 0) bits |= tree_page::kFirstOfLevel;
  if (i + 1 == count) bits |= tree_page::kLastOfLevel;
  return bits;
}

std::string BranchPage(const PageDraft& d, uint8_t bits, int32_t firstChildPage, bool sentinel) {
  const auto length = static_cast<size_t>(d.keyLength);
  std::string page = Header(bits, d.keyLength, d.keys.size());
  for (size_t i = 0; i < d.keys.size(); ++i) {
    std::string key = d.keys[i];
    key.resize(length, '\0');
    if (sentinel && i + 1 == d.keys.size()) key.assign(length, '\xFF');
    page += key + Be32(static_cast<uint32_t>(firstChildPage + static_cast<int32_t>(d.children[i])));
  }
  page.resize(kPageSize, '\0');
  return page;
}

}  // namespace

IndexTree BuildIndexTree(std::vector<TreeEntry> entries, int32_t firstPage,
                         const IndexTreeOptions& options) {
  if (firstPage < 1) throw std::out_of_range("an index starts on page 1 or later");
  size_t longest = 0;
  for (const TreeEntry& e : entries) {
    CheckKey(e.key, "index key");
    if (!e.written.empty()) CheckKey(e.written, "written key");
    longest = std::max(longest, e.key.size());
  }
  int fixedLength = 0;
  if (options.leaves == LeafLayout::kPlainFixed) {
    fixedLength = options.leafKeyLength > 0 ? options.leafKeyLength
                                            : static_cast<int>(std::max<size_t>(longest, 1));
    if (fixedLength > static_cast<int>(kMaxKey) || longest > static_cast<size_t>(fixedLength))
      throw std::invalid_argument("key longer than the fixed leaf key length");
  }
  if (options.branchKeyLength < 0 || options.branchKeyLength > static_cast<int>(kMaxKey))
    throw std::invalid_argument("branch key length outside 0..255");
  // One entry per branch page would never narrow a level down to a root.
  if (options.maxBranchEntries == 1 || options.maxBranchEntries < 0 || options.maxLeafEntries < 0)
    throw std::invalid_argument("a branch page needs room for two entries");
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TreeEntry& a, const TreeEntry& b) { return a.key < b.key; });

  // Levels bottom-up: levels[0] are the leaves, the last one is the root.
  std::vector<std::vector<PageDraft>> levels;
  levels.push_back(PackLeaves(entries, options, fixedLength));
  while (levels.back().size() > 1) levels.push_back(PackBranches(levels.back(), options));

  // Pages go root first; first page of each level:
  std::vector<int32_t> levelStart(levels.size());
  int32_t next = firstPage;
  for (size_t k = levels.size(); k-- > 0;) {
    levelStart[k] = next;
    next += static_cast<int32_t>(levels[k].size());
  }

  IndexTree tree;
  tree.firstPage = firstPage;
  tree.pages.reserve(static_cast<size_t>(next - firstPage) * kPageSize);
  tree.depth = static_cast<int>(levels.size());
  tree.firstLeafPage = levelStart[0];
  tree.leafPageCount = static_cast<int32_t>(levels[0].size());
  for (size_t k = levels.size(); k-- > 1;) {
    const auto& level = levels[k];
    for (size_t i = 0; i < level.size(); ++i)
      tree.pages += BranchPage(level[i], LevelBits(i, level.size()), levelStart[k - 1],
                               options.lastKeySentinel && i + 1 == level.size());
  }
  const bool grouped =
      options.leaves != LeafLayout::kPlainWithLengths && options.leaves != LeafLayout::kPlainFixed;
  for (size_t i = 0; i < levels[0].size(); ++i) {
    const PageDraft& d = levels[0][i];
    uint8_t kind = tree_page::kLeaf | LevelBits(i, levels[0].size());
    if (grouped) kind |= tree_page::kGrouped;
    tree.pages += Header(kind, fixedLength, d.count);
    tree.pages += d.leafBytes;
    tree.pages.resize(tree.pages.size() + kPageRoom - d.leafBytes.size(), '\0');
  }
  return tree;
}

std::string ReverseJisKey(std::string_view key) {
  std::string out;
  out.reserve(key.size());
  size_t end = key.size();
  if (end % 2 == 1) out += key[--end];
  for (size_t i = end; i >= 2; i -= 2) out.append(key.substr(i - 2, 2));
  return out;
}

std::string FoldKatakana(std::string_view key) {
  std::string out(key);
  for (size_t i = 0; i + 1 < out.size(); i += 2) {
    const auto low = static_cast<uint8_t>(out[i + 1]);
    if (out[i] == 0x25 && low >= 0x21 && low <= 0x76) out[i] = 0x24;
  }
  return out;
}

}  // namespace morva::mkbook
