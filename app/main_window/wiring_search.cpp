// MorvaWindow: the 複合 tab (the compound search with its candidate window)
// and the 総合 tab (the general search window over the window's one
// full-text search).
#include <QLineEdit>

#include "app/main_window/window_wiring.h"
#include "app/search_windows/compound_tab.h"
#include "app/search_windows/tgeneral_search.h"
#include "engine/book/tdisk.h"
#include "engine/search/compound_search.h"
#include "engine/search/fulltext.h"
#include "engine/text/unicode.h"
#include "view/multi_refer/tmulti_refer.h"
#include "view/qt_conversions.h"

namespace morva {

void MorvaWindow::WireCompoundTab() {
  TMorvaForm& form = *form_;
  refer_ = std::make_unique<TMultiRefer>(form.disk(), *compound_, form.fonts(), &form);
  const TMorvaForm::MultiControls& multi = form.multiControls();
  CompoundTabWidgets widgets;
  widgets.labels = multi.labels;
  widgets.edits = multi.edits;
  widgets.upDown = multi.upDown;
  widgets.searchButton = multi.searchButton;
  compoundTab_ = std::make_unique<CompoundTab>(*compound_, *refer_, widgets);
  connect(compoundTab_.get(), &CompoundTab::statusChanged, &form, &TMorvaForm::SetStatus);
  // The window stacks the shown rows and puts the word list under them; its
  // stacking skips the rows the loaded form lacks.
  connect(compoundTab_.get(), &CompoundTab::rowsChanged, this,
          [this] { form_->LayOutTab(kMultiTab); });
  // 検索 is the form's own button handler, which asks for the query below;
  // Enter in a field does the same.
  for (QLineEdit* edit : multi.edits)
    connect(edit, &QLineEdit::returnPressed, this, [this] { form_->SearchClicked(false); });

  connect(&form, &TMorvaForm::compoundTabEntered, this, [this] { compoundTab_->TabShown(); });
  connect(&form, &TMorvaForm::compoundTabLeft, this, [this] { compoundTab_->TabLeft(); });
  connect(&form, &TMorvaForm::compoundNextFormRequested, this,
          [this] { compoundTab_->StepForm(); });
  connect(&form, &TMorvaForm::compoundSearchRequested, this,
          [this] { form_->SearchCompoundQuery(compoundTab_->BuildQuery()); });
}

void MorvaWindow::WireGeneralTab() {
  TMorvaForm* form = form_.get();
  connect(form, &TMorvaForm::generalTabEntered, this, &MorvaWindow::EnterGeneralTab);
  connect(form, &TMorvaForm::generalTabLeft, this, [this] {
    if (general_) general_->close();
  });
  connect(form, &TMorvaForm::wordRemembered, this, [this](const std::string& word) {
    if (general_) general_->RememberWord(QStringFromSjis(word));
  });
}

TGeneralSearch& MorvaWindow::GeneralSearch() {
  if (general_) return *general_;
  TMorvaForm& form = *form_;
  general_ = std::make_unique<TGeneralSearch>(form.disk(), form.wordlist(), *fullText_,
                                              *progressBox_, &form);
  connect(general_.get(), &TGeneralSearch::searchDone, this,
          [this](const TGeneralSearch::Done& done) { form_->ShowSearchResult(done.status); });
  general_->SetBookProvider([this] { return form_->CurrentBook(); });
  // While the full-text search fills the list, input is processed: the list
  // must not be drawn meanwhile.
  connect(general_.get(), &TGeneralSearch::busyChanged, &form, &TMorvaForm::SetBusy);
  general_->SetHistory(form.SearchHistory());
  general_->PlaceBeside(form, form.ContentPaneRect(), form.UsableArea());
  generalBook_ = form.CurrentBook();
  return *general_;
}

// Entering the tab, and clicking it while it is active: the window comes
// forward with the word box in the face of the open book's kind. Its ways
// follow the open book's indexes, so they are set again for another book.
void MorvaWindow::EnterGeneralTab() {
  TGeneralSearch& window = GeneralSearch();
  if (form_->CurrentBook() != generalBook_) {
    generalBook_ = form_->CurrentBook();
    window.FormCreate();
  }
  window.SetWordFont(form_->SearchBoxFont());
  window.show();
  window.raise();
  window.activateWindow();
}

}  // namespace morva
