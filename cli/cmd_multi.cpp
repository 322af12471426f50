// morva-cli multi: the compound searches of a book, and searching one of them
// with typed field values.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/book_session.h"
#include "cli/commands.h"
#include "cli/hit_list.h"
#include "cli/render.h"
#include "engine/book/text_utils.h"
#include "engine/search/compound.h"
#include "engine/search/compound_search.h"
#include "engine/text/unicode.h"

namespace morva::cli {
namespace {

constexpr const char* kUsage =
    "usage: morva-cli multi DIR[:N] --list [--info FILE]\n"
    "       morva-cli multi DIR[:N] --form K --field F=VALUE ... [--all] [--info FILE] [--map "
    "FILE]";

std::string Readable(std::string_view sjisMarked) {
  std::string utf8;
  AppendReadable(sjisMarked, &utf8);
  return utf8;
}

// "K TAB name K/count", then "TAB F TAB label [TAB candidates]" per field.
int List(TDisk& disk) {
  CompoundSearch form(disk);
  const int count = CompoundSearchCount(disk);
  Output out;
  for (int k = 0; k < count; ++k) {
    const CompoundSearch::LoadResult loaded = form.Load(k);
    out.buffer() += Format("%d\t", k + 1) + SjisToUtf8(loaded.status) + "\n";
    for (int f = 0; f < CompoundSearch::kMaxFields; ++f) {
      const CompoundSearch::Field& field = form.field(f);
      if (!field.exists) continue;
      out.buffer() += Format("\t%d\t", f + 1) + Readable(field.label);
      if (field.HasCandidates()) out.buffer() += "\tcandidates";
      out.buffer() += '\n';
    }
  }
  return count > 0 ? kExitOk : kExitNoHits;
}

// Fills the fields from "F=VALUE" options (F from 1); false on a malformed
// option or a field the form does not have.
bool FillFields(const std::vector<std::string>& options, CompoundSearch& form) {
  for (const std::string& option : options) {
    const size_t equals = option.find('=');
    if (equals == std::string::npos) return false;
    const auto f = ParseNumber(std::string_view(option).substr(0, equals));
    if (!f || *f < 1 || *f > CompoundSearch::kMaxFields ||
        !form.field(static_cast<int>(*f - 1)).exists) {
      return false;
    }
    form.SetFieldText(static_cast<int>(*f - 1), Utf8ToSjis(option.substr(equals + 1)));
  }
  return true;
}

}  // namespace

int RunMulti(Arguments& args) {
  const bool list = args.TakeFlag("list");
  const auto formOption = args.TakeOption("form");
  HitListOptions options;
  options.entries = args.TakeFlag("all");
  const std::string info = args.TakeOption("info").value_or("");
  const auto map = args.TakeOption("map");
  std::vector<std::string> fields;
  while (auto field = args.TakeOption("field")) fields.push_back(std::move(*field));
  if (auto unknown = args.UnknownOption()) return Fail(kExitUsage, "unknown option " + *unknown);
  if (args.positional().size() != 1 || list == formOption.has_value() ||
      (list && !fields.empty())) {
    return Fail(kExitUsage, kUsage);
  }
  int status = kExitOk;
  auto session = BookSession::OpenArgument(args.positional()[0], info, kUsage, &status);
  if (!session) return status;
  session->LoadMap(map);
  options.map = session->map();
  TDisk& disk = session->disk();
  if (list) return List(disk);

  const auto k = ParseNumber(*formOption);
  CompoundSearch form(disk);
  if (!k || *k < 1 || form.Load(static_cast<int>(*k - 1)).status.empty()) {
    return Fail(kExitUsage, "the book has no compound search " + *formOption);
  }
  if (!FillFields(fields, form)) return Fail(kExitUsage, kUsage);
  const std::string query = form.BuildQuery();
  std::fprintf(stderr, "query: %s\n", Readable(query).c_str());
  return SearchAndPrint(disk, *disk.BookList(), query, BookSession::kRow, options);
}

}  // namespace morva::cli
