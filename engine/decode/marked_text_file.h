// The marked-text file: where formatted content goes for the content view.
//
// The view reads the file as a text-mode file, so every line feed (0x0A) of
// the marked text is stored as carriage return + line feed (0x0D 0x0A); all
// other bytes are stored as they are.
//
// The file is rewritten in place and cut to its new length on closing rather
// than emptied on opening: file systems that flush a file emptied and written
// again when it is closed would make every run wait for the disk.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace morva {

// Writes marked text into one file; the file is complete once Close() has
// returned (or the object is gone). Used for a single item and for many items
// appended in turn; an object can be opened again, keeping its buffer.
class MarkedTextFile {
 public:
  MarkedTextFile() = default;
  ~MarkedTextFile() { Close(); }
  MarkedTextFile(const MarkedTextFile&) = delete;
  MarkedTextFile& operator=(const MarkedTextFile&) = delete;

  // Starts writing the file from its beginning (creating it when needed);
  // false when it cannot be opened.
  bool Open(const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }
  // Appends marked text, line feeds as CR LF. False after a write error.
  bool Append(std::string_view marked);
  // Bytes stored so far (each line feed counts two).
  int64_t Size() const { return size_; }
  // Writes what is buffered, cuts the file to the bytes written and closes
  // it; false when a write error happened at any point.
  bool Close();

 private:
  void Flush();

  int fd_ = -1;
  int64_t size_ = 0;
  bool failed_ = false;
  std::string pending_;  // converted bytes not yet written
};

// Replaces the file's contents with the marked text; false when the file
// cannot be written.
bool WriteMarkedTextFile(const std::string& path, std::string_view marked);

// The number of bytes marked text takes in the file (line feeds count two).
int64_t MarkedTextFileSize(std::string_view marked);

}  // namespace morva
