#include "app/clipboard/clipboard_watch.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "app/clipboard/clipboard_word.h"
#include "engine/text/unicode.h"
#include "view/qt_conversions.h"

namespace morva {

ClipboardWatch::ClipboardWatch(QClipboard* clipboard, bool followActivation, QObject* parent)
    : QObject(parent), clipboard_(clipboard != nullptr ? clipboard : QGuiApplication::clipboard()) {
  connect(clipboard_, &QClipboard::dataChanged, this, &ClipboardWatch::CheckClipboard);
  connect(clipboard_, &QClipboard::selectionChanged, this, &ClipboardWatch::CheckSelection);
  if (followActivation) {
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
              if (state == Qt::ApplicationActive) FormActivate();
            });
  }
}

std::optional<std::string> ClipboardWatch::ClipboardText(bool selection) const {
  const QMimeData* data =
      clipboard_->mimeData(selection ? QClipboard::Selection : QClipboard::Clipboard);
  if (data == nullptr || !data->hasText()) return std::nullopt;
  return SjisFromQString(data->text());
}

std::optional<std::string> ClipboardWatch::TakeClipboardWord() const {
  const std::optional<std::string> text = ClipboardText();
  if (!text) return std::nullopt;
  return morva::TakeClipboardWord(*text, hooks.neglect ? hooks.neglect() : std::string());
}

void ClipboardWatch::CheckClipboard() {
  const bool own = ownChange_ || clipboard_->ownsClipboard();
  ownChange_ = false;
  if (own || autoSearch_ == 0) return;
  TakeChange(ClipboardText());
}

void ClipboardWatch::CheckSelection() {
  const bool own = ownSelectionChange_ || clipboard_->ownsSelection();
  ownSelectionChange_ = false;
  if (own || !watchSelection_ || autoSearch_ == 0) return;
  TakeChange(ClipboardText(true));
}

void ClipboardWatch::TakeChange(const std::optional<std::string>& text) {
  if (!text || (hooks.indexTabActive && !hooks.indexTabActive())) return;
  const std::optional<std::string> taken =
      morva::TakeClipboardWord(*text, hooks.neglect ? hooks.neglect() : std::string());
  if (!taken) return;
  std::string word = RemoveNeglected(*taken, hooks.neglect ? hooks.neglect() : std::string());
  if (hooks.applyEndingSet0) word = hooks.applyEndingSet0(word);
  emit wordTaken(word);
  searchPending_ = true;
  copyPending_ = autoSearch_ == 3 || autoSearch_ == 6;
  if (autoSearch_ == 5 || autoSearch_ == 6) RunSearch();
}

void ClipboardWatch::FormActivate() {
  if (searchPending_ && (autoSearch_ == 2 || autoSearch_ == 3)) RunSearch();
  searchPending_ = false;
}

void ClipboardWatch::RunSearch() {
  emit searchRequested(copyPending_);
  searchPending_ = false;
  copyPending_ = false;
}

}  // namespace morva
