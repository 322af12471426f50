// Replacing a user's file without ever leaving it half written: the new
// contents go to a temporary file in the same directory, are flushed to disk,
// and the temporary file is then renamed over the old one.
#pragma once

#include <string>
#include <string_view>

namespace morva {

// Writes bytes as the whole new contents of path. The directory of path is
// created when missing; an existing file keeps its permission bits, and a
// symbolic link is followed so that the link itself stays in place. On any
// failure the old file is left as it was, the temporary file is removed and
// false is returned.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace morva
