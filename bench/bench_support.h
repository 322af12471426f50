// Shared helpers of the benchmarks: where the real books are, and a reporter
// that shows nothing.
#pragma once

#include <string>

#include "engine/book/report.h"

namespace morva::bench {

inline std::string SharedBook(const std::string& relative) {
  return std::string(MORVA_SHARED_BOOKS) + "/" + relative;
}

class SilentReporter : public Reporter {
 public:
  void Fatal(std::string_view) override {}
  void Warning(std::string_view) override {}
  void RetryOrAbort(std::string_view) override {}
};

}  // namespace morva::bench
