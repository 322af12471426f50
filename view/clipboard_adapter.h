// Where copies go: the system clipboard in the program, a recorder in tests.
// Text is Shift-JIS with CR LF line ends; the Qt implementation converts it
// at the edge, to Unicode with LF line ends.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace morva {

class ClipboardAdapter {
 public:
  virtual ~ClipboardAdapter() = default;
  virtual void SetText(std::string_view sjis) = 0;
  // Offers text as the primary selection (middle-button paste) where the
  // platform has one; nothing elsewhere.
  virtual void SetSelectionText(std::string_view sjis) { (void)sjis; }
};

class QtClipboard : public ClipboardAdapter {
 public:
  // Called just before the clipboard changes, so that the clipboard watcher
  // can ignore a change the program made itself.
  std::function<void()> onOwnChange;
  // The same, just before the primary selection changes.
  std::function<void()> onOwnSelectionChange;

  void SetText(std::string_view sjis) override;
  void SetSelectionText(std::string_view sjis) override;
};

}  // namespace morva
