// mkbook: writes book volumes for tests and for the sample book.
//
//   mkbook demo OUTDIR    a two-sub-book demonstration volume
//   mkbook --help
//
// Each command is one small function; main only picks it.
#include <exception>
#include <filesystem>
#include <iostream>
#include <span>
#include <string>
#include <string_view>

#include "tools/mkbook/demo_book.h"

namespace {

using Args = std::span<char* const>;

constexpr int kUsageError = 2;

int Help(Args) {
  std::cout << "usage: mkbook COMMAND [ARGS]\n"
               "\n"
               "commands:\n"
               "  demo OUTDIR   write a demonstration volume (two sub-books, links,\n"
               "                an external character, copyright pages) into OUTDIR\n"
               "  --help        show this text\n";
  return 0;
}

int Demo(Args args) {
  if (args.size() != 1) {
    std::cerr << "mkbook demo: expected one argument, the output directory\n";
    return kUsageError;
  }
  const std::filesystem::path out = args[0];
  morva::mkbook::BuildDemoBook().volume.WriteTo(out);
  std::cout << "wrote a demonstration volume to " << out.string() << "\n";
  return 0;
}

struct Command {
  std::string_view name;
  int (*run)(Args);
};

constexpr Command kCommands[] = {
    {"demo", Demo},
    {"--help", Help},
    {"-h", Help},
    {"help", Help},
};

}  // namespace

int main(int argc, char** argv) {
  const Args all(argv, static_cast<size_t>(argc));
  if (all.size() < 2) {
    Help({});
    return kUsageError;
  }
  const std::string_view name = all[1];
  for (const Command& c : kCommands) {
    if (c.name != name) continue;
    try {
      return c.run(all.subspan(2));
    } catch (const std::exception& e) {
      std::cerr << "mkbook " << name << ": " << e.what() << "\n";
      return 1;
    }
  }
  std::cerr << "mkbook: unknown command '" << name << "' (try mkbook --help)\n";
  return kUsageError;
}
