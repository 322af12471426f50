// Finding book files the way CD-ROM volumes arrive on Linux: whatever the case
// of each path component, and also with an ISO 9660 version suffix (";1") or a
// trailing "." on the name (CATALOGS, catalogs and Catalogs;1 are one file).
// Stored paths may use "\" as separator; it is read as "/".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morva {

// Replaces every "\" by "/".
std::string ToSlashes(std::string_view path);

// The existing path that matches path component by component, or nothing.
// An exact match is preferred over a case-insensitive one.
std::optional<std::string> FindPathNoCase(std::string_view path);

// The existing book file for path: the plain file when there is one, else its
// compressed form path + ".ebz", else a decompressed publisher-compressed
// body path + ".org"; each found as FindPathNoCase finds it.
std::optional<std::string> FindBookFile(std::string_view path);

// True when name, put after a directory and "/", stays in that directory:
// it is not ".." and holds no "/", "\\" or NUL. Names that a book's own data
// gives for its directories and files must pass this before they are looked
// up, so a damaged or hostile catalog cannot have files outside the volume
// read.
bool StaysInDirectory(std::string_view name);

// Opens path for reading when it names a regular file (links followed);
// -1 for anything else. A FIFO or device is refused before it is opened, and
// the open itself never waits, so a stray special file under a volume cannot
// hang the program. The descriptor is in blocking mode and closes on exec.
int OpenRegularFile(const std::string& path);

// True when the book file for path (found as FindBookFile finds it) is stored
// compressed.
bool IsCompressedBookFile(std::string_view path);

// True when a and b name the same file on a CD-ROM: equal without regard to
// ASCII case, ignoring a ";n" version suffix and a trailing "." of b.
bool SameBookFileName(std::string_view wanted, std::string_view onDisk);

}  // namespace morva
