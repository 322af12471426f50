// Query expressions: operands searched one by one and combined left to right.
#include "engine/book/tdisk.h"
#include "engine/search/index_search.h"
#include "engine/search/query.h"
#include "engine/search/wordlist.h"

namespace morva {
namespace {

// An operand is a word or a parenthesised expression.
int EvaluateOperand(const SearchContext& context, Wordlist& target, const QueryToken& token,
                    std::string_view& cursor) {
  if (token.kind == QueryToken::kOpen) return EvaluateExpression(context, target, cursor);
  return SearchWord(context, target, token.text);
}

}  // namespace

int SearchWord(const SearchContext& context, Wordlist& target, std::string_view operand) {
  TDisk& disk = context.disk;
  target.Empty();
  const PreparedKey key = PrepareKey(disk, operand);
  disk.subbook().currentIndexRow = key.indexRow;
  if (!key.indexPresent) return kWordIndexAbsent;
  if (key.canonical.empty()) return kWordNotFound;
  const IndexKindRow& index = disk.subbook().indexes.Row(key.indexRow);
  if (const int32_t page = SearchIndex(disk, index, key.canonical)) {
    ScanLeaves(context, target, key, page);
  }
  return target.IsEmpty() ? kWordNotFound : kWordFound;
}

int EvaluateExpression(const SearchContext& context, Wordlist& target, std::string_view& cursor) {
  TDisk& disk = context.disk;
  QueryToken token = ReadOperand(disk, cursor);
  if (token.kind == QueryToken::kEnd || token.kind == QueryToken::kClose) return 0;
  // An operator word in the first place is searched as a word.
  int result = EvaluateOperand(context, target, token, cursor);

  for (;;) {
    token = ReadOperand(disk, cursor);
    if (token.kind == QueryToken::kEnd || token.kind == QueryToken::kClose) break;
    QueryToken::Kind op = QueryToken::kAnd;  // a word or "(" right after an operand
    if (token.IsOperator()) {
      op = token.kind;
      token = ReadOperand(disk, cursor);
      // An operator with nothing after it is ignored; a closing parenthesis
      // still ends the expression.
      if (token.kind == QueryToken::kEnd || token.kind == QueryToken::kClose) break;
    }
    Wordlist operand(disk.reporter());
    result = EvaluateOperand(context, operand, token, cursor);
    switch (op) {
      case QueryToken::kOr:
        target.AppendAll(operand);
        target.RemoveConsecutiveDuplicates();
        break;
      case QueryToken::kNot: target.Filter(operand, false); break;
      default: target.Filter(operand, true); break;
    }
  }
  return result;
}

}  // namespace morva
