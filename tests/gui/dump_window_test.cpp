// The dump window as 表示 > ﾊﾞｲﾅﾘﾀﾞﾝﾌﾟ opens it from the main window: the page
// of the shown entry, stepping between pages, copying, and what it keeps
// when nothing is shown.
#include <QClipboard>
#include <QPlainTextEdit>

#include "tests/gui/main_window_fixture.h"
#include "view/dump_window/tdump_form.h"
#include "view/ttextview.h"

namespace morva::testing {
namespace {

TEST_F(MainWindowTest, DumpWindowShowsTheEntrysPageStepsCopiesAndKeepsItWithoutContent) {
  UseOneBook(2, "Scroll=no", "", true);
  Open();
  Search("ねこ");
  ClickRow(1);
  Action("Dump")->trigger();
  TDumpForm& dump = *main_->dumpForm();
  auto text = [&] { return dump.memo()->toPlainText(); };
  auto press = [&](const char* action) { dump.findChild<QAction*>(action)->trigger(); };
  const BookAddress at = Body(1);
  EXPECT_TRUE(dump.isVisible());
  EXPECT_TRUE(text().startsWith(QString::asprintf("Position = 0x%08X:%04X", at.page, at.offset)))
      << text().toStdString();
  press("Next");
  EXPECT_EQ(dump.page(), at.page + 1);
  // Stepping back stops at page zero.
  while (dump.page() > 0) press("Prior");
  const QString pageZero = text();
  EXPECT_TRUE(pageZero.startsWith(QStringLiteral("Page = 0x00000000")));
  press("Prior");
  press("Next");
  EXPECT_EQ(dump.page(), 0);
  EXPECT_EQ(text(), pageZero);

  QApplication::clipboard()->setText(QStringLiteral("before"));
  press("Copy1");  // nothing selected: nothing copied
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
  press("SelectAll1");
  press("Copy1");
  EXPECT_EQ(QApplication::clipboard()->text(), pageZero);

  // Another tab shows nothing in the pane: the window keeps what it showed
  // and its page buttons do nothing.
  Action("MenuMenu")->trigger();
  Action("MenuIndex")->trigger();
  ASSERT_EQ(form_->view()->ShownSubbook(), -1);
  Action("Dump")->trigger();
  press("Next");
  EXPECT_EQ(dump.page(), 0);
  EXPECT_EQ(text(), pageZero);
  press("Close1");
  EXPECT_FALSE(dump.isVisible());
}

}  // namespace
}  // namespace morva::testing
