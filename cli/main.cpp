// morva-cli: reads and searches Morva's books from the command line.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/commands.h"
#include "cli/process_exit.h"
#include "cli/stderr_reporter.h"

namespace {

constexpr const char* kUsage =
    "usage: morva-cli COMMAND ...\n"
    "\n"
    "  books DIR                          list the sub-books of a volume\n"
    "  show DIR[:N] PAGE:OFFSET           print one entry\n"
    "  text DIR[:N] [--from PAGE:OFFSET]  print the body item by item\n"
    "  copyright DIR[:N]                  print the copyright page\n"
    "  dump DIR[:N] PAGE[:OFFSET]         hexadecimal dump of a page\n"
    "  search DIR[:N] QUERY [--all]       index search: PAGE:OFFSET and heading of each hit\n"
    "  search --books FILE.GRP --group NAME [--marked] QUERY [--all]\n"
    "                                     search every (or every marked) book of a group\n"
    "  menu DIR[:N] [--whole] [--all]     the items of the book's menu\n"
    "  multi DIR[:N] --list               the compound searches and their fields\n"
    "  multi DIR[:N] --form K --field F=VALUE ... [--all]\n"
    "                                     compound search K with typed fields (from 1)\n"
    "  fulltext DIR[:N] QUERY [--case] [--from WORD] [--all]\n"
    "                                     full-text search of the body text\n"
    "\n"
    "DIR names a volume directory, N a sub-book counted from 1 (default 1).\n"
    "PAGE (from 1) and OFFSET (0-2047) are decimal, or hexadecimal with a 0x prefix.\n"
    "Options: --format text|marked (show, text, copyright), --info FILE (a per-book\n"
    "information file), --map FILE (a Unicode map of external characters; default\n"
    "SUBBOOK.map in $XDG_CONFIG_HOME/morva/gaiji or in the volume's folder).\n"
    "Queries are words with and, or, not and parentheses; search status lines and\n"
    "progress go to stderr.\n"
    "Exit status: 0 success, 1 a book that cannot be opened or read (the message\n"
    "names the file and the PAGE:OFFSET), 2 usage error, 3 no hits.\n";

struct Command {
  const char* name;
  int (*run)(morva::cli::Arguments&);
};

constexpr Command kCommands[] = {
    {"books", morva::cli::RunBooks},       {"show", morva::cli::RunShow},
    {"text", morva::cli::RunText},         {"copyright", morva::cli::RunCopyright},
    {"dump", morva::cli::RunDump},         {"search", morva::cli::RunSearch},
    {"menu", morva::cli::RunMenu},         {"multi", morva::cli::RunMulti},
    {"fulltext", morva::cli::RunFulltext},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? morva::cli::kExitUsage : morva::cli::kExitOk;
  }
  for (const Command& c : kCommands) {
    if (std::strcmp(argv[1], c.name) == 0) {
      morva::cli::InstallSignalCleanup();
      morva::cli::Arguments args(argc, argv, 2);
      const int status = c.run(args);
      // A failed read makes the output incomplete, whatever the command
      // found; usage errors are reported before anything is read.
      return morva::cli::StderrReporter::AnyReadFailed() ? morva::cli::kExitBook : status;
    }
  }
  std::fprintf(stderr, "morva-cli: unknown command '%s'\n%s", argv[1], kUsage);
  return morva::cli::kExitUsage;
}
