#include "cli/cli_args.h"

#include <charconv>

namespace morva::cli {

std::optional<long> ParseNumber(std::string_view s) {
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    s.remove_prefix(2);
    base = 16;
  }
  if (s.empty()) return std::nullopt;
  long value = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
  if (ec != std::errc() || p != s.data() + s.size() || value < 0) return std::nullopt;
  return value;
}

std::optional<VolumeSpec> ParseVolume(std::string_view arg) {
  if (arg.empty()) return std::nullopt;
  VolumeSpec spec{std::string(arg), 1};
  size_t colon = arg.rfind(':');
  if (colon != std::string_view::npos && colon > 0) {
    auto n = ParseNumber(arg.substr(colon + 1));
    if (n && *n >= 1 && *n <= 65535 &&
        arg.substr(colon + 1).find_first_not_of("0123456789") == std::string_view::npos) {
      spec.directory = std::string(arg.substr(0, colon));
      spec.subbook = static_cast<int>(*n);
    }
  }
  return spec;
}

std::optional<BookAddress> ParseAddress(std::string_view arg, bool offsetOptional) {
  size_t colon = arg.find(':');
  if (colon == std::string_view::npos) {
    if (!offsetOptional) return std::nullopt;
    auto page = ParseNumber(arg);
    if (!page || *page < 1 || *page > 0x7FFFFFFF) return std::nullopt;
    return BookAddress{static_cast<int32_t>(*page), 0};
  }
  auto page = ParseNumber(arg.substr(0, colon));
  auto offset = ParseNumber(arg.substr(colon + 1));
  if (!page || !offset || *page < 1 || *page > 0x7FFFFFFF || *offset > 2047) return std::nullopt;
  return BookAddress{static_cast<int32_t>(*page), static_cast<int32_t>(*offset)};
}

Arguments::Arguments(int argc, char** argv, int first) {
  for (int i = first; i < argc; ++i) items_.emplace_back(argv[i]);
}

std::optional<std::string> Arguments::TakeOption(std::string_view name) {
  const std::string flag = "--" + std::string(name);
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] == flag && i + 1 < items_.size()) {
      std::string value = items_[i + 1];
      items_.erase(items_.begin() + static_cast<long>(i),
                   items_.begin() + static_cast<long>(i) + 2);
      return value;
    }
    if (items_[i].rfind(flag + "=", 0) == 0) {
      std::string value = items_[i].substr(flag.size() + 1);
      items_.erase(items_.begin() + static_cast<long>(i));
      return value;
    }
  }
  return std::nullopt;
}

bool Arguments::TakeFlag(std::string_view name) {
  const std::string flag = "--" + std::string(name);
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] == flag) {
      items_.erase(items_.begin() + static_cast<long>(i));
      return true;
    }
  }
  return false;
}

std::optional<std::string> Arguments::UnknownOption() const {
  for (const auto& s : items_)
    if (s.size() > 2 && s.rfind("--", 0) == 0) return s;
  return std::nullopt;
}

}  // namespace morva::cli
