// Where copies go: the system clipboard in the program, a recorder in tests.
// Text is UTF-8 (mapped external characters are not in Shift-JIS) with CR LF
// line ends; the Qt implementation gives it LF line ends.
#pragma once

#include <functional>
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

class QtClipboard : public ClipboardAdapter {
 public:
  // Called just before the clipboard changes, so that the clipboard watcher
  // can ignore a change the program made itself.
  std::function<void()> onOwnChange;
  // The same, just before the primary selection changes.
  std::function<void()> onOwnSelectionChange;

  void SetText(std::string_view utf8) override;
  void SetSelectionText(std::string_view utf8) override;
};

}  // namespace morva
