// morva-cli show / text / copyright: entries as readable or marked text.
#include "cli/book_session.h"
#include "cli/commands.h"
#include "cli/reading.h"
#include "engine/book/text_utils.h"
#include "engine/decode/content.h"

namespace morva::cli {

namespace {

// The options every reading command takes, and the opened book.
struct ReadRequest {
  TextFormat format = TextFormat::kReadable;
  std::unique_ptr<BookSession> session;
  const GaijiMap* map() const { return session->map(); }
};

// Parses --format, --info and --map and opens the volume named by the first
// positional argument; returns the exit status on failure.
int Prepare(Arguments& args, size_t positionals, const char* usage, ReadRequest* request) {
  const std::string format = args.TakeOption("format").value_or("text");
  const std::string info = args.TakeOption("info").value_or("");
  const auto map = args.TakeOption("map");
  if (format == "marked") {
    request->format = TextFormat::kMarked;
  } else if (format != "text") {
    return Fail(kExitUsage, "unknown format '" + format + "' (text or marked)");
  }
  if (auto unknown = args.UnknownOption()) return Fail(kExitUsage, "unknown option " + *unknown);
  if (args.positional().size() != positionals) return Fail(kExitUsage, usage);
  int status = kExitOk;
  request->session = BookSession::OpenArgument(args.positional()[0], info, usage, &status);
  if (!request->session) return status;
  if (request->format == TextFormat::kReadable) request->session->LoadMap(map);
  // Plain text: external characters through the book's conversion table, or
  // as codes; marked text keeps the bitmap markers.
  if (request->format == TextFormat::kReadable)
    request->session->disk().decoderState().gaijiMode = GaijiMode::kText;
  return kExitOk;
}

void Render(const ReadRequest& request, std::string_view marked, Output& out) {
  RenderMarked(request.format, marked, &out.buffer(), request.map());
  out.MaybeFlush();
}

}  // namespace

int RunShow(Arguments& args) {
  constexpr const char* kUsage =
      "usage: morva-cli show DIR[:N] PAGE:OFFSET [--format text|marked] [--map FILE]";
  ReadRequest request;
  if (int status = Prepare(args, 2, kUsage, &request)) return status;
  auto at = ParseAddress(args.positional()[1]);
  if (!at) return Fail(kExitUsage, kUsage);
  TContent content(request.session->disk());
  Output out;
  RenderItem(content, BookSession::kRow, *at, request.format, &out.buffer(), request.map());
  return kExitOk;
}

int RunText(Arguments& args) {
  constexpr const char* kUsage =
      "usage: morva-cli text DIR[:N] [--from PAGE:OFFSET] [--format text|marked] [--map FILE]";
  const auto from = args.TakeOption("from");
  ReadRequest request;
  if (int status = Prepare(args, 1, kUsage, &request)) return status;
  TDisk& disk = request.session->disk();
  BookAddress at{disk.subbook().indexes.Start(0x00), 0};
  if (at.page == 0) at.page = 1;
  if (from) {
    auto parsed = ParseAddress(*from);
    if (!parsed) return Fail(kExitUsage, kUsage);
    at = *parsed;
  }
  Output out;
  // A failed read ends the text there: what follows a damaged page cannot be
  // trusted to start at an item.
  RenderBody(
      disk, BookSession::kRow, at, request.format,
      [&out](std::string& item) {
        out.buffer() += item;
        out.MaybeFlush();
        return !StderrReporter::AnyReadFailed();
      },
      request.map());
  return kExitOk;
}

int RunCopyright(Arguments& args) {
  constexpr const char* kUsage =
      "usage: morva-cli copyright DIR[:N] [--format text|marked] [--map FILE]";
  ReadRequest request;
  if (int status = Prepare(args, 1, kUsage, &request)) return status;
  TContent content(request.session->disk());
  std::string marked;
  if (!content.CopyrightTo(&marked)) return Fail(kExitBook, "the copyright page cannot be written");
  Output out;
  Render(request, marked, out);
  return kExitOk;
}

}  // namespace morva::cli
