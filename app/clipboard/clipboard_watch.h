// ClipboardWatch: the main window's part in the system clipboard. It watches
// the clipboard (QClipboard::dataChanged) and, by the AutoSearch setting,
// takes newly copied text as the search word and searches it:
//
//   AutoSearch  timing                        action
//   0           off
//   1 / 2 / 3   when the window becomes active  take the word / search /
//   4 / 5 / 6   as soon as text is copied       search and copy the result
//
// The word is always put into the search box when the text is copied; the
// search then runs at once (5, 6) or on the next activation (2, 3). A change
// the program made itself is ignored: OwnClipboardChange is set before every
// write the program makes, and where the platform tells, a clipboard this
// process owns counts as its own change too (this also covers the copies
// that text boxes make by themselves, such as those of their context menus).
//
// With WatchSelection the primary selection (text selected in any program)
// is watched too, by the same rules; the program's own selections (those the
// content pane offers) are ignored in the same way, with a flag of their own
// so that a selection change never uses up the clipboard's flag.
//
// The watch knows nothing of the window: it asks what it needs to know
// through the hooks and announces the word it took and the search it wants
// by signals.
#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>

class QClipboard;

namespace morva {

struct ClipboardSearchHooks {
  std::function<bool()> indexTabActive;  // the 索引 tab is shown
  std::function<std::string()> neglect;  // the open book's NEGLECT= value (Shift-JIS)
  // Ending-rule set 0 applied once to a word (Shift-JIS); unchanged when unset.
  std::function<std::string(const std::string& word)> applyEndingSet0;
};

class ClipboardWatch final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(ClipboardWatch)

 public:
  // Joins the watch with OwnClipboardChange set, so the notice that joining
  // may bring is ignored. clipboard null: the application's clipboard. With
  // followActivation, the application becoming active calls FormActivate.
  explicit ClipboardWatch(QClipboard* clipboard = nullptr, bool followActivation = true,
                          QObject* parent = nullptr);

  ClipboardSearchHooks hooks;

  void SetAutoSearch(int value) { autoSearch_ = value; }
  int autoSearch() const { return autoSearch_; }

  void SetWatchSelection(bool on) { watchSelection_ = on; }
  bool watchSelection() const { return watchSelection_; }

  // OwnClipboardChange: call just before the program writes the clipboard.
  void SetOwnChange() { ownChange_ = true; }
  // The same for the primary selection.
  void SetOwnSelectionChange() { ownSelectionChange_ = true; }
  bool ownChange() const { return ownChange_; }
  bool searchPending() const { return searchPending_; }
  bool copyResultPending() const { return copyPending_; }

  // The clipboard's (or the selection's) text (Shift-JIS), nothing when it
  // holds none.
  std::optional<std::string> ClipboardText(bool selection = false) const;
  // TakeClipboardWord on the clipboard's text with the open book's NEGLECT=.
  std::optional<std::string> TakeClipboardWord() const;

  // On every clipboard change (and at the first showing of the window when
  // the clipboard held text at creation).
  void CheckClipboard();
  // On every change of the primary selection.
  void CheckSelection();
  // FormActivate: the window became active.
  void FormActivate();

 signals:
  // A word (Shift-JIS) was taken from the clipboard: it goes into the
  // search box.
  void wordTaken(const std::string& word);
  // The search of the search box is to run as 検索 does, as a search started
  // by the watch: when it finds something the window comes forward and,
  // with copyResult, copies the entry the search shows.
  void searchRequested(bool copyResult);

 private:
  // Takes the word of newly changed text and acts by AutoSearch.
  void TakeChange(const std::optional<std::string>& text);
  // Runs the pending search; both flags are cleared after it.
  void RunSearch();

  QClipboard* clipboard_;
  int autoSearch_ = 0;
  bool watchSelection_ = false;
  bool ownChange_ = true;
  bool ownSelectionChange_ = false;
  bool searchPending_ = false;
  bool copyPending_ = false;
};

}  // namespace morva
