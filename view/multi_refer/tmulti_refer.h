// TMultiRefer: the candidate window "複合検索参照" of the compound-search form.
// It shows the candidate list that the current field of a CompoundSearch
// browses as a one-column owner-drawn grid (DrawGrid1), lets the user choose a
// row (Button1 "選択(&S)", the default button, or a double-click) and go back
// to the field's top list (Button2 "戻る(&Q)"). Choosing a row that opens a
// nested list shows that list; choosing a value leaves it as the field's text
// and tells the form through valueChosen().
//
// The window holds no candidates of its own: rows come from the compound
// search, read when a row is first drawn and kept until the list changes.
// External characters are drawn from the book's bitmaps. One window exists
// for the main window's life; it borrows the disk, the compound search and the
// display fonts, which must outlive it.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "view/multi_refer/gaiji_text_painter.h"

class QListView;
class QPushButton;

namespace morva {

class CompoundSearch;
class DisplayFonts;
class TDisk;

class TMultiRefer final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TMultiRefer)

 public:
  static constexpr int kClientWidth = 393;
  static constexpr int kClientHeight = 250;
  static constexpr int kColumnWidth = 293;
  static constexpr int kRowHeight = 18;

  TMultiRefer(TDisk& disk, CompoundSearch& search, const DisplayFonts& fonts,
              QWidget* parent = nullptr);
  ~TMultiRefer() override;

  // Shows the list that `field` (the search's current field) browses, from
  // its first row, with caption as the window's caption. The window does not
  // take the focus from the field's edit.
  void ShowList(int field, const QString& caption);
  // Hides the window; no field's list is shown any more.
  void HideList();
  // The field whose list is shown, -1 when hidden.
  int Field() const { return field_; }

  // Re-reads the browsed list (its rows changed, or the book did) and makes
  // the first row current.
  void Reload();

  int RowCount() const { return static_cast<int>(rows_.size()); }
  // Row text as the compound search gives it (Shift-JIS, external
  // characters as markers).
  const std::string& RowText(int row);
  int CurrentRow() const;
  void SetCurrentRow(int row);

  // 選択(&S): chooses the current row. 戻る(&Q): back to the top list.
  void Button1Click();
  void Button2Click();

  // Draws one row into rect (DrawGrid1's cell painter).
  void DrawGrid1DrawCell(QPainter& painter, int row, const QRect& rect, bool selected);

 signals:
  // The row became the field's value; its text is the field's text.
  void valueChosen(int field);
  // 戻る returned the field to its top list.
  void wentBack(int field);

 private:
  class Rows;
  class RowPainter;

  void ShowRows();
  QString DefaultCaption() const;

  CompoundSearch& search_;
  const DisplayFonts& fonts_;
  GaijiTextPainter painter_;
  int field_ = -1;
  std::vector<std::optional<std::string>> rows_;

  QListView* grid_ = nullptr;
  QPushButton* button1_ = nullptr;
  QPushButton* button2_ = nullptr;
  Rows* model_ = nullptr;
};

}  // namespace morva
