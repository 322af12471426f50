// Replacing a user's file without ever leaving it half written: the new
// contents go to a temporary file in the same directory, are flushed to disk,
// and the temporary file is then renamed over the old one; the directory is
// flushed too, so that the rename itself survives a crash.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace morva {

// Writes bytes as the whole new contents of path. The directory of path is
// created when missing; an existing file keeps its permission bits, and a
// symbolic link is followed so that the link itself stays in place. On any
// failure the old file is left as it was, the temporary file is removed,
// false is returned and error (when given) tells why.
bool ReplaceFileContents(const std::string& path, std::string_view bytes,
                         std::error_code* error = nullptr);

// Reads the whole of path into bytes. False when it cannot be read (a
// directory is not read); error (when given) then tells why, ENOENT for a
// missing file.
bool ReadFileContents(const std::string& path, std::string& bytes,
                      std::error_code* error = nullptr);

// Removes the temporary files ReplaceFileContents leaves in directory when
// its process is killed while writing: "<name>.tmp<pid>-<n>" of a process
// that no longer runs. Those of running processes are left alone.
void RemoveStaleTemporaryFiles(const std::string& directory);

}  // namespace morva
