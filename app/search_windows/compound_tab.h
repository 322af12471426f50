// CompoundTab: drives the 複合 tab of the main window: the field labels
// (MultiLabel1-5), the field edits (MultiEdit1-5), the form stepper (UpDown1)
// and the search button (MultiSearchButton), over the main window's
// CompoundSearch and its candidate window (TMultiRefer).
//
// The main window creates the widgets and hands them over; the tab shows the
// rows of the fields the loaded form has, keeps the fields' texts in the
// CompoundSearch, highlights the current field, opens the candidate window
// under a field that offers candidates, and builds the query of the filled
// fields (BuildQuery) for the main window's search. Handlers, all optional:
//   status   the "%s %d/%d" text of the loaded form for the status bar's second
//            panel (empty when the book has no compound search);
//   layout   the shown rows changed: the owner re-stacks the controls (without
//            one the tab moves the search button and UpDown1 itself);
//   search   when set, the search button and Enter in a field build the query
//            and hand it over (a main window that runs the search from its
//            own button handler leaves it unset and calls BuildQuery).
//
// Everything handed over is borrowed and must outlive the tab.
#pragma once

#include <QFont>
#include <QObject>
#include <QString>
#include <array>
#include <string>

#include "engine/search/compound_search.h"

class QEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace morva {

class TMultiRefer;

struct CompoundTabWidgets {
  std::array<QLabel*, CompoundSearch::kMaxFields> labels{};    // MultiLabel1-5
  std::array<QLineEdit*, CompoundSearch::kMaxFields> edits{};  // MultiEdit1-5
  QSpinBox* upDown = nullptr;                                  // UpDown1
  QPushButton* searchButton = nullptr;                         // MultiSearchButton
};

class CompoundTab final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(CompoundTab)

 public:
  // Connects to the widgets: UpDown1 wraps and loads the chosen form, the
  // edits report entering and typing, the candidate window's choices fill the
  // edits.
  CompoundTab(CompoundSearch& search, TMultiRefer& refer, const CompoundTabWidgets& widgets,
              QObject* parent = nullptr);

  // The tab was shown (the book may have changed): form 0 is loaded afresh
  // and field 1 entered.
  void TabShown();
  // The tab was left: the candidate window closes.
  void TabLeft();
  // 複合検索 chosen again, or the active tab clicked: the next form, after
  // the last the first.
  void StepForm();
  // Loads form `number` unless it is the loaded one, then enters field 1.
  void LoadForm(int number);

  // For owners that leave the layout to the tab: stacks labels and edits
  // downward from the first label's position: each
  // gets the character height as font height and that + 4 as its height, 2
  // more pixels separate one label-edit pair from the next; the search button
  // (with UpDown1 at its left) goes under the last shown edit. font gives the
  // face.
  void LayOut(const QFont& font, int charHeight);
  // The condition pane is `paneWidth` wide: labels and edits become
  // paneWidth - 14 wide and the search button ends 13 pixels from the right.
  void Resize(int paneWidth);

  // Makes field f current (as entering its edit does).
  void EnterField(int f);
  // Builds the query of the filled fields and closes the candidate window.
  std::string BuildQuery();
  // The main window closes: every field is cleared.
  void Clear();

  int LoadedForm() const { return search_.Loaded(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 signals:
  // The status text (Shift-JIS) changed.
  void statusChanged(const std::string& textSjis);
  // The shown rows changed. When something listens, it lays the tab out
  // itself; otherwise the tab places its search button under the rows.
  void rowsChanged();

 private:
  void UpDownChanged(int position);
  void FieldEdited(int f, const QString& text);
  void CandidateChosen(int f);
  void ShowFields();
  void Highlight(int current);
  void PlaceSearchButton();
  int FieldOfEdit(const QObject* edit) const;

  CompoundSearch& search_;
  TMultiRefer& refer_;
  CompoundTabWidgets w_;
};

}  // namespace morva
