// Feeds a mutated page space through selecting the sub-book (catalog, index
// page, external-character fonts), formatting items and dumping pages.
#include <cstddef>
#include <cstdint>

#include "engine/book/tdisk.h"
#include "engine/decode/content.h"
#include "engine/decode/dump.h"
#include "fuzz/fuzz_volume.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static morva::fuzz::FuzzVolume volume;
  volume.Write(data, size);

  morva::fuzz::NullReporter reporter;
  morva::TDisk disk(reporter);
  morva::BookBar bar = volume.Books();
  disk.SetBookList(&bar);
  if (!disk.SelectSubbook(1)) return 0;

  morva::TContent content(disk);
  std::string marked;
  const int32_t pages = static_cast<int32_t>(size / 2048) + 1;
  const morva::BookAddress starts[] = {{disk.subbook().indexes.Start(0x00), 0},
                                       {2, 0},
                                       {pages, 2040},
                                       {1, static_cast<int32_t>(size % 2048)}};
  for (const auto& at : starts) {
    marked.clear();
    content.FormatItemTo(1, at, &marked);
  }
  disk.decoderState().gaijiMode = morva::GaijiMode::kText;
  marked.clear();
  content.FormatItemTo(1, {2, 0}, &marked);
  morva::DumpPage(disk, 1, 1, 0);
  morva::DumpPage(disk, 1, 2, 0x123);
  return 0;
}
