#include "tools/mkbook/damage.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

#include "engine/book/book_address.h"
#include "tools/mkbook/bytes.h"
#include "tools/mkbook/volume.h"

namespace morva::mkbook::damage {
namespace {

std::string Load(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace

void Truncate(const std::filesystem::path& file, uintmax_t size) {
  std::filesystem::resize_file(file, size);
}

void Remove(const std::filesystem::path& file) { std::filesystem::remove(file); }

void Overwrite(const std::filesystem::path& file, uintmax_t position, std::string_view bytes) {
  std::string content = Load(file);
  Put(content, static_cast<size_t>(position), bytes);
  WriteBytes(file, content);
}

void Scramble(const std::filesystem::path& file, int32_t page, int offset, int count,
              uint32_t seed) {
  std::mt19937 random(seed);
  std::string bytes(static_cast<size_t>(count), '\0');
  for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
  const int64_t position = BookAddress{page, offset}.Position();
  if (position < 0) throw std::out_of_range("position before the start of the file");
  Overwrite(file, static_cast<uintmax_t>(position), bytes);
}

}  // namespace morva::mkbook::damage
