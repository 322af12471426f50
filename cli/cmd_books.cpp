// morva-cli books DIR: the sub-books of a volume with their indexes.
#include <cstdio>

#include "cli/book_session.h"
#include "cli/commands.h"
#include "engine/book/file_lookup.h"
#include "engine/book/messages.h"
#include "engine/book/text_utils.h"
#include "engine/text/unicode.h"

namespace morva::cli {

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "morva-cli: %s\n", message.c_str());
  return status;
}

namespace {
const char* LayoutName(int kind) {
  switch (kind) {
    case 0: return "catalogs";
    case 1: return "catalog";
    case 2: return "no catalog";
    default: return "unknown";
  }
}
}  // namespace

int RunBooks(Arguments& args) {
  if (auto unknown = args.UnknownOption()) return Fail(kExitUsage, "unknown option " + *unknown);
  if (args.positional().size() != 1) return Fail(kExitUsage, "usage: morva-cli books DIR");
  const std::string dir = args.positional()[0];

  StderrReporter reporter;
  TDisk disk(reporter);
  if (!disk.OpenVolume(dir, "") || disk.subbook().volumeKind < 0)
    return Fail(kExitBook, "no book volume at " + dir);
  const int count = disk.subbook().subbookCount;
  const int kind = disk.subbook().volumeKind;

  BookBar bar(1);
  for (int i = 0; i < count; ++i) {
    BookBarEntry e;
    e.shortName = "book";
    e.location = dir;
    e.subbook = static_cast<int16_t>(i);
    bar.push_back(e);
  }
  disk.SetBookList(&bar);
  Output out;
  int status = kExitOk;
  for (int i = 0; i < count; ++i) {
    if (!disk.SelectSubbook(i + 1)) {
      out.buffer() += Format("%d\t(cannot be opened)\n", i + 1);
      status = Fail(kExitBook, Format("sub-book %d of %s cannot be opened", i + 1, dir.c_str()));
      continue;
    }
    out.buffer() += Format("%d\t%s\t%s%s\n", i + 1, SjisToUtf8(disk.subbook().title).c_str(),
                           LayoutName(kind), disk.SingleByteBook() ? ", single-byte" : "");
    const bool english = disk.SingleByteBook();
    for (int r = 0; r < IndexKindTable::kRows; ++r) {
      const IndexKindRow& row = disk.subbook().indexes.Row(r);
      if (row.start == 0) continue;
      out.buffer() += Format("\tindex 0x%02X\t%s\tpages %d-%d\n", row.code,
                             SjisToUtf8(IndexCaption(r, english)).c_str(), row.start, row.end);
    }
    // The files of the page space, saying which are stored compressed.
    const BodyFileTable& files = disk.BodyFiles();
    for (int f = 0; f < files.Count(); ++f) {
      const std::string& path = files.Row(f).path;
      const bool compressed = IsCompressedBookFile(path);
      const std::string& root = disk.VolumeRoot();
      std::string shown = path.rfind(root, 0) == 0 ? path.substr(root.size()) : path;
      while (!shown.empty() && shown[0] == '/') shown.erase(0, 1);
      out.buffer() +=
          Format("\tfile\t%s%s\n", shown.c_str(), compressed ? "\tcompressed (ebzip)" : "");
    }
  }
  return status;
}

}  // namespace morva::cli
