// CompoundSearch: the engine of the compound-search form. It reads a compound
// search's definition (field labels, candidate lists), keeps each field's
// value, browses the candidate lists a field offers (lists may nest), and
// turns the filled fields into a query for Search (index_search.h) in which
// each word searches its own field's index ("@nm" operands).
//
// The form shows at most kMaxFields fields. A CompoundSearch borrows the TDisk
// for its whole life and reads the current sub-book; every call that reads
// the book seeks, so it invalidates other readers' positions. Texts are
// Shift-JIS; candidate texts keep external characters as 4-byte markers
// (0x0B, '1' wide or '0' narrow, high and low byte of the code).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/book/book_address.h"

namespace morva {

class TDisk;

class CompoundSearch {
 public:
  static constexpr int kMaxFields = 5;
  // Field labels hold at most this many bytes.
  static constexpr size_t kLabelBytes = 30;
  // Field values and candidate lines hold at most this many bytes.
  static constexpr size_t kValueBytes = 80;
  // Queries stay below this many bytes (the search box's limit).
  static constexpr size_t kQueryLimit = 128;

  struct Field {
    bool exists = false;
    std::string label;
    int32_t topPage = 0;     // page of the top candidate list (offset 0); 0 none
    BookAddress browsed;     // the candidate list being browsed
    int chosenLine = -1;     // line of the chosen candidate, -1 none
    BookAddress chosenList;  // the list it was chosen from
    std::string text;        // the text of the field's edit
    bool edited = false;     // typed into since its text was last set
    std::string buffer;      // the value the last BuildQuery used

    bool HasCandidates() const { return topPage != 0; }
  };

  // What entering a field asks the form to do with the candidate window.
  struct FieldEntry {
    bool showCandidates = false;
    std::string caption;  // the field's label
  };

  struct LoadResult {
    // "%s %d/%d" (name, number + 1, count) for the status bar; empty when
    // the sub-book has no compound search of that number.
    std::string status;
    FieldEntry firstField;  // the entry of field 0, which a load enters
  };

  enum class Selection {
    kNone,    // no such row, or no field is current
    kNested,  // the row opened a nested list, which is now browsed
    kValue,   // the row's text became the field's text
  };

  explicit CompoundSearch(TDisk& disk);

  // Forgets the loaded compound search (the form was shown again): the next
  // Load reads its definition afresh.
  void Reset();

  // Loads compound search `number` (from 0) unless it is the one loaded:
  // labels, candidate-list pages, its name from the book's MULTI= list (or
  // "複合"); every field is cleared. Loaded or not, the current field is reset
  // and field 0 is entered.
  LoadResult Load(int number);

  int Loaded() const { return loaded_; }
  // Compound searches of the sub-book, as the last Load counted them.
  int Count() const { return count_; }
  const Field& field(int f) const { return fields_[static_cast<size_t>(f)]; }
  int CurrentField() const { return current_; }

  // Makes field f current and returns its browsing to its top list. A field
  // that does not exist leaves no field current.
  FieldEntry EnterField(int f);

  // The user typed: the field's text, marked as edited.
  void SetFieldText(int f, std::string_view text);

  // Lines of the list the current field browses, up to its first empty line
  // (at most kMaxCandidateRows), and the text of one of them (at most
  // kValueBytes; external characters as markers).
  static constexpr int kMaxCandidateRows = 2000;
  int CandidateCount();
  std::string CandidateText(int row);

  // Chooses row r of the browsed list for the current field: a row that
  // carries an address opens the nested list there; any other row becomes the
  // field's text, with external characters shown as "＿" (wide) or "_".
  Selection SelectCandidate(int row);

  // Returns the current field to its top list.
  void Back();

  // The query of the filled fields: "@%d%d\"%s\" " per field with a value
  // (compound number, field number from 0, value), in field order, leaving
  // out a field that would bring the text to kQueryLimit bytes. A field's
  // value is its typed text (trimmed) when it was edited, else its chosen
  // candidate's line read again from the book (external characters as their
  // codes), else empty.
  std::string BuildQuery();

 private:
  void ClearFields();
  void ReadDefinition(int32_t page);
  std::string Name(int number) const;

  TDisk& disk_;
  int loaded_ = -1;
  int count_ = 0;
  int current_ = -1;
  std::array<Field, kMaxFields> fields_{};
};

}  // namespace morva
