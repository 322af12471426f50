// MorvaWindow: making the parts in order, the clipboard watch, the about box,
// and closing the windows that belong to the main window.
#include "app/main_window/window_wiring.h"

#include <QDialog>
#include <QEvent>

#include "app/clipboard/cd_audio.h"
#include "app/clipboard/clipboard_watch.h"
#include "app/help/help_window.h"
#include "app/main_window/word_rules.h"
#include "app/search_windows/compound_tab.h"
#include "app/search_windows/tgeneral_search.h"
#include "app/search_windows/tprogress.h"
#include "app/startup/about_box.h"
#include "engine/book/tdisk.h"
#include "engine/search/compound_search.h"
#include "engine/search/fulltext.h"
#include "engine/text/unicode.h"
#include "view/dump_window/tdump_form.h"
#include "view/graph_window/tgraph_form.h"
#include "view/multi_refer/tmulti_refer.h"
#include "view/qt_conversions.h"

namespace morva {

MorvaWindow::MorvaWindow(FormOptions formOptions, MorvaWindowOptions options)
    : options_(std::move(options)) {
  // The watch exists before the form: reading the start-up request may ask
  // for the clipboard word. Joining is meant to bring a notice that the
  // own-change flag swallows; Qt brings none, so that first check is made
  // here (AutoSearch is still 0, so it only clears the flag).
  watch_ = std::make_unique<ClipboardWatch>(options_.clipboard, false);
  watch_->CheckClipboard();
  if (formOptions.clipboardWatch == nullptr) formOptions.clipboardWatch = watch_.get();

  form_ = std::make_unique<TMorvaForm>(std::move(formOptions));
  progress_ = std::make_unique<TProgress>(form_.get());
  UseProgressBox(progress_.get());
  compound_ = std::make_unique<CompoundSearch>(form_->disk());
  fullText_ = std::make_unique<FullTextSearch>(form_->disk(), form_->wordlist());
  cdAudio_ = std::make_unique<CdAudio>(options_.cdAudioDevice ? std::move(options_.cdAudioDevice)
                                                              : MakeLinuxCdAudioDevice());

  WireClipboard();
  WireCompoundTab();
  WireGeneralTab();
  WireWindows();
  WireDriveSearch();
  WireProgram();
  form_->setAcceptDrops(true);
  form_->installEventFilter(this);
}

MorvaWindow::~MorvaWindow() {
  CloseOwnWindows();
  form_->removeEventFilter(this);
  // Nothing may reach the parts while they go.
  form_->disconnect(this);
  compoundTab_.reset();
  refer_.reset();
  general_.reset();
  graph_.reset();
  dump_.reset();
  help_.reset();
  progress_.reset();
  // The form saves the settings as it goes; the watch outlives it.
  form_.reset();
}

void MorvaWindow::UseProgressBox(ProgressBox* progress) {
  progressBox_ = progress != nullptr ? progress : progress_.get();
  form_->SetProgressBox(progressBox_);
}

int MorvaWindow::ExecDialog(QDialog& dialog) {
  return options_.execDialog ? options_.execDialog(dialog) : dialog.exec();
}

bool MorvaWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == form_.get() && event->type() == QEvent::Close) CloseOwnWindows();
  if (watched == form_.get() && DropEvent(event)) return true;
  return QObject::eventFilter(watched, event);
}

void MorvaWindow::CloseOwnWindows() {
  if (closed_) return;
  closed_ = true;
  if (compoundTab_) compoundTab_->Clear();
  if (general_) general_->close();
  // Hiding reports the image window's place into the settings, which the
  // form saves when it is destroyed.
  if (graph_) graph_->close();
  if (dump_) dump_->close();
  if (help_) help_->close();
}

// ---- The clipboard watch ----------------------------------------------------

void MorvaWindow::WireClipboard() {
  TMorvaForm& form = *form_;
  watch_->SetAutoSearch(form.settings().autoSearch);
  watch_->SetWatchSelection(form.settings().watchSelection);
  // The open book's per-book values, or null when none is open.
  auto openInfo = [this]() -> const BookInfo* {
    if (!form_ || form_->CurrentBook() < 0 || !form_->disk().SelectSubbook(form_->CurrentBook()))
      return nullptr;
    return &form_->disk().info();
  };
  ClipboardSearchHooks& hooks = watch_->hooks;
  hooks.indexTabActive = [this] { return form_ && form_->ActiveTab() == kIndexTab; };
  hooks.neglect = [openInfo] {
    const BookInfo* info = openInfo();
    return info != nullptr ? info->neglect : std::string();
  };
  hooks.applyEndingSet0 = [openInfo](const std::string& word) {
    std::string rewritten = word;
    if (const BookInfo* info = openInfo()) ApplyEndingSet(&rewritten, 0, info->endings);
    return rewritten;
  };
  connect(watch_.get(), &ClipboardWatch::wordTaken, this,
          [this](const std::string& word) { form_->SetSearchText(QStringFromSjis(word)); });
  // The form brings itself forward and copies the result at the end of the
  // search.
  connect(watch_.get(), &ClipboardWatch::searchRequested, this, [this](bool copyResult) {
    form_->SetSearchFromClipboard(true);
    form_->SetCopyResultPending(copyResult);
    form_->SearchClicked(false);
    // A search that did not run (another tab) leaves no flag behind for the
    // user's next search.
    form_->SetSearchFromClipboard(false);
    form_->SetCopyResultPending(false);
  });

  ClipboardWatch* watch = watch_.get();
  connect(&form, &TMorvaForm::clipboardCheckDue, watch, &ClipboardWatch::CheckClipboard);
  connect(&form, &TMorvaForm::windowActivated, watch, &ClipboardWatch::FormActivate);
  connect(&form, &TMorvaForm::clipboardAboutToChange, watch, &ClipboardWatch::SetOwnChange);
  connect(&form, &TMorvaForm::selectionAboutToChange, watch,
          &ClipboardWatch::SetOwnSelectionChange);
}

// ---- The about box -------------------------------------------------------------

void MorvaWindow::WireProgram() {
  connect(form_.get(), &TMorvaForm::aboutRequested, this, [this] {
    TAboutBox box(form_.get());
    ExecDialog(box);
  });
}

}  // namespace morva
