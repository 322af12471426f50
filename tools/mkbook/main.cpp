// mkbook: writes book volumes for tests and for the sample book.
//
//   mkbook demo OUTDIR    a two-sub-book demonstration volume
//   mkbook edict EDICT_FILE OUTDIR [--limit N]
//                         a Japanese-English book from an EDICT file
//   mkbook compress DIR LEVEL
//                         replace the book files of a volume by ebzip files
//   mkbook --help
//
// demo and edict take --ebzip LEVEL (0-5) to write the volume compressed.
// Each command is one small function; main only picks it.
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/mkbook/demo_book.h"
#include "tools/mkbook/ebzip_writer.h"
#include "tools/mkbook/edict_book.h"

namespace {

using Args = std::span<char* const>;

constexpr int kUsageError = 2;

// Compresses a written volume when --ebzip was given (level -1: not given).
int FinishVolume(const std::filesystem::path& out, int ebzipLevel) {
  if (ebzipLevel < 0) return 0;
  if (!morva::mkbook::CompressVolume(out.string(), ebzipLevel)) {
    std::cerr << "mkbook: could not compress " << out.string() << "\n";
    return 1;
  }
  std::cout << "compressed the book files at level " << ebzipLevel << "\n";
  return 0;
}

int Help(Args, int) {
  std::cout << "usage: mkbook COMMAND [ARGS]\n"
               "\n"
               "commands:\n"
               "  demo OUTDIR   write a demonstration volume (two sub-books, links,\n"
               "                an external character, copyright pages) into OUTDIR\n"
               "  edict EDICT_FILE OUTDIR [--limit N]\n"
               "                write a Japanese-English book built from an EDICT file\n"
               "                (EUC-JP, e.g. /usr/share/edict/edict) into OUTDIR,\n"
               "                at most N entries\n"
               "  compress DIR LEVEL\n"
               "                replace the book files of the volume in DIR by ebzip\n"
               "                files of the given level (0-5)\n"
               "  --help        show this text\n"
               "\n"
               "demo and edict also take --ebzip LEVEL to write the volume compressed.\n";
  return 0;
}

int Demo(Args args, int ebzipLevel) {
  if (args.size() != 1) {
    std::cerr << "mkbook demo: expected one argument, the output directory\n";
    return kUsageError;
  }
  const std::filesystem::path out = args[0];
  morva::mkbook::BuildDemoBook().volume.WriteTo(out);
  std::cout << "wrote a demonstration volume to " << out.string() << "\n";
  return FinishVolume(out, ebzipLevel);
}

int Edict(Args args, int ebzipLevel) {
  const bool limited = args.size() == 4 && std::string_view(args[2]) == "--limit";
  if (args.size() != 2 && !limited) {
    std::cerr << "mkbook edict: expected EDICT_FILE OUTDIR [--limit N]\n";
    return kUsageError;
  }
  morva::mkbook::EdictBookOptions options;
  if (limited) {
    const std::string count = args[3];
    if (count.empty() || count.find_first_not_of("0123456789") != std::string::npos) {
      std::cerr << "mkbook edict: --limit takes a number of entries\n";
      return kUsageError;
    }
    options.limit = std::stoul(count);
  }
  std::ifstream in(args[0], std::ios::binary);
  if (!in) {
    std::cerr << "mkbook edict: cannot read " << args[0] << "\n";
    return 1;
  }
  const auto started = std::chrono::steady_clock::now();
  const morva::mkbook::EdictBook book = morva::mkbook::BuildEdictBook(in, options);
  const std::filesystem::path out = args[1];
  book.volume.WriteTo(out);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;

  const auto& s = book.stats;
  std::cout << "wrote " << s.entries << " entries (" << s.pages << " pages) to " << out.string()
            << "\n"
            << "keys: " << s.kanaKeys << " kana, " << s.notationKeys << " notation, " << s.alphaKeys
            << " alphabet\n";
  if (s.outsideJis + s.malformed > 0)
    std::cout << "skipped " << s.outsideJis << " lines with characters outside JIS X 0208, "
              << s.malformed << " malformed lines\n";
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.1f", took.count());
  std::cout << "took " << seconds << " s\n";
  return FinishVolume(out, ebzipLevel);
}

int Compress(Args args, int) {
  if (args.size() != 2 ||
      std::string_view(args[1]).find_first_not_of("012345") != std::string_view::npos ||
      std::string_view(args[1]).size() != 1) {
    std::cerr << "mkbook compress: expected DIR LEVEL (0-5)\n";
    return kUsageError;
  }
  return FinishVolume(args[0], args[1][0] - '0');
}

struct Command {
  std::string_view name;
  int (*run)(Args, int ebzipLevel);
};

constexpr Command kCommands[] = {
    {"demo", Demo},   {"edict", Edict}, {"compress", Compress},
    {"--help", Help}, {"-h", Help},     {"help", Help},
};

}  // namespace

int main(int argc, char** argv) {
  // --ebzip LEVEL may stand anywhere after the command.
  std::vector<char*> kept;
  int ebzipLevel = -1;
  for (int i = 0; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--ebzip" && i + 1 < argc) {
      const std::string_view level = argv[++i];
      if (level.size() != 1 || level[0] < '0' || level[0] > '5') {
        std::cerr << "mkbook: --ebzip takes a level from 0 to 5\n";
        return kUsageError;
      }
      ebzipLevel = level[0] - '0';
      continue;
    }
    kept.push_back(argv[i]);
  }
  const Args all(kept.data(), kept.size());
  if (all.size() < 2) {
    Help({}, -1);
    return kUsageError;
  }
  const std::string_view name = all[1];
  for (const Command& c : kCommands) {
    if (c.name != name) continue;
    try {
      return c.run(all.subspan(2), ebzipLevel);
    } catch (const std::exception& e) {
      std::cerr << "mkbook " << name << ": " << e.what() << "\n";
      return 1;
    }
  }
  std::cerr << "mkbook: unknown command '" << name << "' (try mkbook --help)\n";
  return kUsageError;
}
