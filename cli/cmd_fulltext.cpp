// morva-cli fulltext: a full-text search of a book's body text.
#include "cli/book_session.h"
#include "cli/commands.h"
#include "cli/hit_list.h"
#include "engine/book/text_utils.h"
#include "engine/search/fulltext.h"
#include "engine/search/wordlist.h"
#include "engine/text/unicode.h"

namespace morva::cli {
namespace {

// Passes the progress box on, with the hit caption redrawn only when the bar
// moves: a search with many hits would otherwise redraw the line per hit.
class ThrottledProgress : public ProgressBox {
 public:
  explicit ThrottledProgress(ProgressBox& shown) : shown_(shown) {}
  void Open(std::string_view caption, int maximum) override {
    shown_.Open(caption, maximum);
    last_ = -1;
  }
  void SetCaption(std::string_view caption) override {
    caption_ = std::string(caption);
    changed_ = true;
  }
  bool Step(int position) override {
    if (position == last_) return false;
    last_ = position;
    Flush();
    return shown_.Step(position);
  }
  void Close() override {
    Flush();
    shown_.Close();
  }

 private:
  void Flush() {
    if (!changed_) return;
    shown_.SetCaption(caption_);
    changed_ = false;
  }
  ProgressBox& shown_;
  std::string caption_;
  bool changed_ = false;
  int last_ = -1;
};

}  // namespace

int RunFulltext(Arguments& args) {
  constexpr const char* kUsage =
      "usage: morva-cli fulltext DIR[:N] QUERY [--case] [--from WORD] [--all] [--info FILE] [--map "
      "FILE]";
  const bool matchCase = args.TakeFlag("case");
  const std::string from = args.TakeOption("from").value_or("");
  HitListOptions options;
  options.entries = args.TakeFlag("all");
  const std::string info = args.TakeOption("info").value_or("");
  const auto map = args.TakeOption("map");
  if (auto unknown = args.UnknownOption()) return Fail(kExitUsage, "unknown option " + *unknown);
  if (args.positional().size() != 2) return Fail(kExitUsage, kUsage);
  int status = kExitOk;
  auto session = BookSession::OpenArgument(args.positional()[0], info, kUsage, &status);
  if (!session) return status;
  session->LoadMap(map);
  options.map = session->map();
  TDisk& disk = session->disk();

  Wordlist hits(disk.reporter());
  FullTextSearch search(disk, hits);
  StderrProgress terminal;
  ThrottledProgress progress(terminal);
  if (!search.Search(Utf8ToSjis(args.positional()[1]), matchCase, Utf8ToSjis(from), progress)) {
    return Fail(kExitBook, "the full-text search could not run");
  }
  PrintStatus(hits.IsEmpty() ? Sjis("該当項目なし") : Format("%d ", hits.Count()) + Sjis("項目"));
  Output out;
  PrintHits(disk, hits, *disk.BookList(), options, out);
  return hits.IsEmpty() ? kExitNoHits : kExitOk;
}

}  // namespace morva::cli
