// morva-cli search / menu: index searches in one book or a book group, and
// the menu of a book.
#include <fstream>
#include <sstream>

#include "cli/book_session.h"
#include "cli/commands.h"
#include "cli/hit_list.h"
#include "engine/book/group_file.h"
#include "engine/book/text_utils.h"
#include "engine/search/menu.h"
#include "engine/search/wordlist.h"
#include "engine/text/unicode.h"

namespace morva::cli {
namespace {

constexpr const char* kSearchUsage =
    "usage: morva-cli search DIR[:N] QUERY [--all] [--info FILE] [--map FILE]\n"
    "       morva-cli search --books FILE.GRP --group NAME [--marked] QUERY [--all] [--info FILE]";

// The book bar of a group of the group file; relative volume paths are taken
// from the group file's directory. Nothing (and a reason) when it fails.
std::optional<BookBar> LoadGroup(const std::string& path, const std::string& name,
                                 std::string* error) {
  const std::optional<std::string> text = ReadGroupFileText(path);
  if (!text) {
    *error = "cannot read " + path;
    return std::nullopt;
  }
  // An empty name would pick a group by its place in the file.
  std::optional<GroupSection> section;
  if (!name.empty()) section = FindGroup(SplitGroupFileLines(*text), Utf8ToSjis(name), 0);
  if (!section) {
    *error = "no group '" + name + "' in " + path;
    return std::nullopt;
  }
  BookBar bar = BarFromSection(*section).bar;
  for (BookBarEntry& entry : bar)
    if (!entry.IsSeparator()) entry.location = ResolveRelativeName(entry.location, path);
  return bar;
}

int SearchGroup(Arguments& args, const std::string& booksFile, const HitListOptions& options,
                const std::string& info) {
  const auto group = args.TakeOption("group");
  const bool marked = args.TakeFlag("marked");
  if (auto unknown = args.UnknownOption()) return Fail(kExitUsage, "unknown option " + *unknown);
  if (!group || args.positional().size() != 1) return Fail(kExitUsage, kSearchUsage);
  std::string error;
  std::optional<BookBar> bar = LoadGroup(booksFile, *group, &error);
  if (!bar) return Fail(kExitBook, error);
  StderrReporter reporter;
  TDisk disk(reporter);
  disk.settings().dicInfoPath = info;
  disk.SetBookList(&*bar);
  // A book of the group that cannot be opened would be left out without a
  // word: say so, search the others, and end with status 1.
  bool missing = false;
  for (size_t row = 0; row < bar->size(); ++row) {
    const BookBarEntry& entry = (*bar)[row];
    if (entry.IsSeparator() || (marked && !entry.mark)) continue;
    if (!disk.SelectSubbook(static_cast<int>(row))) {
      missing = true;
      Fail(kExitBook,
           "book " + SjisToUtf8(entry.shortName) + " (" + entry.location + ") cannot be opened");
    }
  }
  HitListOptions withNames = options;
  withNames.bookNames = true;
  // Position 0 is the group's header (every book of it); -1 the marked books.
  const int status =
      SearchAndPrint(disk, *bar, Utf8ToSjis(args.positional()[0]), marked ? -1 : 0, withNames);
  return missing ? kExitBook : status;
}

}  // namespace

int RunSearch(Arguments& args) {
  HitListOptions options;
  options.entries = args.TakeFlag("all");
  const std::string info = args.TakeOption("info").value_or("");
  if (const auto booksFile = args.TakeOption("books"))
    return SearchGroup(args, *booksFile, options, info);
  const auto map = args.TakeOption("map");

  if (auto unknown = args.UnknownOption()) return Fail(kExitUsage, "unknown option " + *unknown);
  if (args.positional().size() != 2) return Fail(kExitUsage, kSearchUsage);
  int status = kExitOk;
  auto session = BookSession::OpenArgument(args.positional()[0], info, kSearchUsage, &status);
  if (!session) return status;
  session->LoadMap(map);
  options.map = session->map();
  TDisk& disk = session->disk();
  return SearchAndPrint(disk, *disk.BookList(), Utf8ToSjis(args.positional()[1]), BookSession::kRow,
                        options);
}

int RunMenu(Arguments& args) {
  constexpr const char* kUsage =
      "usage: morva-cli menu DIR[:N] [--whole] [--all] [--info FILE] [--map FILE]";
  HitListOptions options;
  options.entries = args.TakeFlag("all");
  const bool whole = args.TakeFlag("whole");
  const std::string info = args.TakeOption("info").value_or("");
  const auto map = args.TakeOption("map");
  if (auto unknown = args.UnknownOption()) return Fail(kExitUsage, "unknown option " + *unknown);
  if (args.positional().size() != 1) return Fail(kExitUsage, kUsage);
  int status = kExitOk;
  auto session = BookSession::OpenArgument(args.positional()[0], info, kUsage, &status);
  if (!session) return status;
  session->LoadMap(map);
  options.map = session->map();
  TDisk& disk = session->disk();
  // --whole: the menu as one item, as without the SpecialMenu setting.
  disk.settings().specialMenu = !whole;
  Wordlist hits(disk.reporter());
  MenuSearch(disk, hits, BookSession::kRow);
  Output out;
  PrintHits(disk, hits, *disk.BookList(), options, out);
  return hits.IsEmpty() ? kExitNoHits : kExitOk;
}

}  // namespace morva::cli
