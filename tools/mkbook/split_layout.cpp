#include "tools/mkbook/split_layout.h"

namespace morva::mkbook {

std::string_view SplitFileName(uint8_t code) {
  struct Row {
    uint8_t code;
    std::string_view name;
  };
  static constexpr Row kNames[] = {
      {0x00, "honmon"},     {0x01, "menu"},       {0x90, "zkana.idx"},   {0x04, "zkana.txt"},
      {0x70, "kkana.idx"},  {0x06, "kkana.txt"},  {0x92, "zalpha.idx"},  {0x72, "kalpha.idx"},
      {0x91, "zhyoki.idx"}, {0x05, "zhyoki.txt"}, {0x71, "khyoki.idx"},  {0x07, "khyoki.txt"},
      {0x80, "joken.idx"},  {0x03, "joken.txt"},  {0xF1, "gaiji16.zen"}, {0xF2, "gaiji16.han"},
  };
  for (const Row& r : kNames)
    if (r.code == code) return r.name;
  return {};
}

void MakeSplit(Subbook& subbook, const std::vector<SplitFile>& files, IndexPage index) {
  for (const SplitFile& f : files) {
    index.Add({f.code, static_cast<uint32_t>(f.pages.FirstPage()),
               static_cast<uint32_t>(f.pages.PageCount()), f.options});
    subbook.besideBody.push_back({f.name, f.pages.Bytes()});
  }
  subbook.body = index.Build();
}

}  // namespace morva::mkbook
