// An initialisation ("profile") file of sections and key=value lines, read and
// written the way the program's settings have always been kept:
//
//   [Section]
//   Key=Value
//
// - Section and key names match without regard to ASCII case; the first
//   matching section and, inside it, the first matching key count.
// - Blanks around names and values are dropped; a value wrapped in matching
//   quotes (" or ') loses them on reading.
// - Lines starting with ";" are comments. Lines without "=" are skipped when
//   reading and, like comments and blank lines, kept byte for byte on writing.
// - Values are Shift-JIS bytes and pass through unchanged.
// - Files with LF or CR LF line ends are read; a rewritten file keeps the line
//   end it had. A new file is written with CR LF, so that it stays readable by
//   the Windows-era tools that share the format.
//
// The object holds only the path: every read goes to the file, every write
// rewrites it at once (through a temporary file and a rename, so the old file
// stays whole until the new one is complete). ProfileEdit gathers many
// writes and replaces the file once.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace morva {

class ProfileFile {
 public:
  explicit ProfileFile(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }

  // The value of key in section, or defaultValue (without its trailing blanks)
  // when the file, the section or the key is missing. The result keeps at most
  // bufferSize - 1 bytes, cut before a double-byte character that would not
  // fit; it also ends at a NUL byte, as the stored C string would. A
  // bufferSize of 0 gives an empty string.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue, size_t bufferSize) const;

  // Sets key in section to value: the first existing key line of the first
  // matching section is replaced, else a line is added after the section's
  // last key line, else the section is appended at the end of the file
  // (after a blank line, unless the file is empty or already ends in one). A
  // value is one line: it is cut at the first CR, LF or NUL. A missing
  // directory of the file is created. Nothing is written when the key already
  // holds exactly this value. Returns false when the file could not be
  // written (the old file is then untouched) or when the names cannot be
  // stored: empty, with blanks around them or line breaks in them, a section
  // with "]", a key with "=" or starting with ";" or "[".
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);

 private:
  std::string path_;
};

// Writes to a profile file made on its text in memory (read once, when the
// edit starts) and written in one replacement by Commit, so that a crash
// leaves either the old file or the new one, never a mix.
class ProfileEdit {
 public:
  explicit ProfileEdit(const ProfileFile& file);

  // ProfileFile::WriteString on the text in memory; false (and no change)
  // when the names cannot be stored.
  bool Set(std::string_view section, std::string_view key, std::string_view value);

  // Replaces the file when anything changed. False when the file could not
  // be read when the edit started (it is then never replaced) or not
  // written.
  bool Commit();

 private:
  std::string path_;
  std::string text_;
  bool readable_ = false;
  bool changed_ = false;
};

}  // namespace morva
