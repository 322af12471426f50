// morva-cli dump DIR[:N] PAGE[:OFFSET]: a hexadecimal dump of one page.
#include "cli/book_session.h"
#include "cli/commands.h"
#include "engine/decode/dump.h"
#include "engine/text/unicode.h"

namespace morva::cli {

int RunDump(Arguments& args) {
  constexpr const char* kUsage = "usage: morva-cli dump DIR[:N] PAGE[:OFFSET] [--info FILE]";
  const std::string info = args.TakeOption("info").value_or("");
  if (auto unknown = args.UnknownOption()) return Fail(kExitUsage, "unknown option " + *unknown);
  if (args.positional().size() != 2) return Fail(kExitUsage, kUsage);
  const auto at = ParseAddress(args.positional()[1], true);
  if (!at) return Fail(kExitUsage, kUsage);
  int status = kExitOk;
  auto session = BookSession::OpenArgument(args.positional()[0], info, kUsage, &status);
  if (!session) return status;
  Output out;
  for (const std::string& line :
       DumpPage(session->disk(), BookSession::kRow, at->page, at->offset)) {
    out.buffer() += SjisToUtf8(line);
    out.buffer() += '\n';
  }
  return kExitOk;
}

}  // namespace morva::cli
