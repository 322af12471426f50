// The dump window as 表示 > ﾊﾞｲﾅﾘﾀﾞﾝﾌﾟ opens it from the main window: the page
// of the shown entry, stepping between pages, what it keeps when nothing is
// shown, and copying.
#include <QClipboard>
#include <QPlainTextEdit>

#include "tests/gui/main_window_fixture.h"
#include "view/dump_window/tdump_form.h"
#include "view/ttextview.h"

namespace morva::testing {
namespace {

class DumpWindowTest : public MainWindowTest {
 protected:
  DumpWindowTest() {
    UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 2), true)}}, "Scroll=no");
    Open();
    Search("ねこ");
    ClickRow(1);
  }
  TDumpForm& Dump() {
    Action("Dump")->trigger();
    EXPECT_NE(main_->dumpForm(), nullptr);
    return *main_->dumpForm();
  }
  void Do(const char* action) {
    main_->dumpForm()->findChild<QAction*>(QLatin1String(action))->trigger();
  }
  QString Text() { return main_->dumpForm()->memo()->toPlainText(); }
};

TEST_F(DumpWindowTest, ShowsTheShownEntrysPageAndStepsToPageZeroThenStops) {
  const BookAddress at = form_->wordlist().Item(1).body;
  TDumpForm& dump = Dump();
  EXPECT_TRUE(dump.isVisible());
  EXPECT_EQ(dump.page(), at.page);
  EXPECT_TRUE(Text().startsWith(QString::asprintf("Position = 0x%08X:%04X", at.page, at.offset)))
      << Text().toStdString();
  Do("Next");
  EXPECT_EQ(dump.page(), at.page + 1);
  while (dump.page() > 0) Do("Prior");
  EXPECT_EQ(dump.offset(), 0);
  const QString pageZero = Text();
  EXPECT_TRUE(pageZero.startsWith(QStringLiteral("Page = 0x00000000")));
  Do("Prior");
  Do("Next");
  EXPECT_EQ(dump.page(), 0);
  EXPECT_EQ(Text(), pageZero);
}

TEST_F(DumpWindowTest, WithoutContentTheWindowKeepsWhatItShowed) {
  TDumpForm& dump = Dump();
  const QString before = Text();
  Action("MenuMenu")->trigger();  // another tab: nothing shown in the pane
  Action("MenuIndex")->trigger();
  ASSERT_EQ(form_->view()->ShownSubbook(), -1);
  Dump();
  Do("Next");  // the page buttons do nothing
  EXPECT_EQ(dump.page(), 0);
  EXPECT_EQ(Text(), before);
}

TEST_F(DumpWindowTest, CopiesWhatIsSelected) {
  Dump();
  QApplication::clipboard()->setText(QStringLiteral("before"));
  Do("Copy1");  // nothing selected: nothing copied
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
  Do("SelectAll1");
  Do("Copy1");
  EXPECT_EQ(QApplication::clipboard()->text(), Text());
  Do("Close1");
  EXPECT_FALSE(main_->dumpForm()->isVisible());
}

}  // namespace
}  // namespace morva::testing
