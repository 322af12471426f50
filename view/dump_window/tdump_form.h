// TDumpForm: the dump window ("ﾊﾞｲﾅﾘﾀﾞﾝﾌﾟ"). Shows the raw bytes of the book
// page on which the shown content starts, as the hexadecimal dump of
// engine/decode/dump.h, and steps to the previous and next page.
//
// One window is made on first use and kept; it borrows the book-access
// object, which must outlive it.
#pragma once

#include <QMainWindow>
#include <cstdint>
#include <functional>

#include "engine/book/book_address.h"

class QPlainTextEdit;

namespace morva {

class TDisk;

class TDumpForm final : public QMainWindow {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TDumpForm)

 public:
  static constexpr int kClientWidth = 592;
  static constexpr int kClientHeight = 354;

  // Centred over mainWindow (when given); the window is not its child.
  explicit TDumpForm(TDisk& disk, QWidget* mainWindow = nullptr);

  // Shows the window with the dump of book-list row `subbook` from `start`,
  // where the shown content begins. The book and the address are taken
  // together from what the content pane shows, never from whichever book
  // the book-access object last read. Without a body address (page 0: no
  // content, or the title page) the window keeps what it showed before and
  // the page buttons do nothing.
  void ShowDump(int subbook, BookAddress start);

  void PriorClick();
  void NextClick();
  void Copy1Click();
  void SelectAll1Click();
  void Close1Click();

  int subbook() const { return subbook_; }
  int32_t page() const { return page_; }
  int32_t offset() const { return offset_; }
  QPlainTextEdit* memo() const { return memo_; }

 signals:
  // 編集 ｺﾋﾟｰ is about to write the clipboard (the clipboard watch ignores
  // the change that follows).
  void clipboardAboutToChange();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Redo();

  TDisk& disk_;
  int subbook_ = -1;
  int32_t page_ = 0;
  int32_t offset_ = 0;
  QPlainTextEdit* memo_ = nullptr;
};

}  // namespace morva
