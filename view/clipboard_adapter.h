// Where copies go: the system clipboard in the program, a recorder in tests.
// Text is UTF-8 (mapped external characters are not in Shift-JIS) with CR LF
// line ends; the Qt implementation gives it LF line ends.
#pragma once

#include <QObject>
#include <string>
#include <string_view>

namespace morva {

class ClipboardAdapter {
 public:
  virtual ~ClipboardAdapter() = default;
  virtual void SetText(std::string_view utf8) = 0;
  // Offers text as the primary selection (middle-button paste) where the
  // platform has one; nothing elsewhere.
  virtual void SetSelectionText(std::string_view utf8) { (void)utf8; }
};

class QtClipboard : public QObject, public ClipboardAdapter {
  Q_OBJECT

 public:
  void SetText(std::string_view utf8) override;
  void SetSelectionText(std::string_view utf8) override;

 signals:
  // Emitted just before the program changes the clipboard, so that the
  // clipboard watcher can ignore a change the program made itself.
  void aboutToChange();
  // The same, just before the program changes the primary selection.
  void selectionAboutToChange();
};

}  // namespace morva
