// Command-line syntax shared by the commands: a volume with an optional
// sub-book (DIR[:N], N counted from 1) and a book address (PAGE:OFFSET, each
// decimal or hexadecimal with a 0x prefix; pages counted from 1, offsets
// 0-2047).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/book/book_address.h"

namespace morva::cli {

struct VolumeSpec {
  std::string directory;
  int subbook = 1;  // counted from 1
};

// "DIR" or "DIR:N". A trailing ":N" is taken as the sub-book only when N is a
// positive number, so directories with colons in their names still work.
std::optional<VolumeSpec> ParseVolume(std::string_view arg);
// "PAGE:OFFSET", or "PAGE" alone when offsetOptional is set.
std::optional<BookAddress> ParseAddress(std::string_view arg, bool offsetOptional = false);
std::optional<long> ParseNumber(std::string_view s);

// The arguments after the command name, with options taken out.
class Arguments {
 public:
  Arguments(int argc, char** argv, int first);
  // The value of "--name VALUE" (or "--name=VALUE"), removed from the list.
  std::optional<std::string> TakeOption(std::string_view name);
  // Whether "--name" was given, removed from the list.
  bool TakeFlag(std::string_view name);
  const std::vector<std::string>& positional() const { return items_; }
  // Options left over after the command took its own: a usage error.
  std::optional<std::string> UnknownOption() const;

 private:
  std::vector<std::string> items_;
};

}  // namespace morva::cli
