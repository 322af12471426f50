// The dump window: the dump of the content start and stepping between pages.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>

#include "tests/gui/windows_book.h"
#include "view/dump_window/tdump_form.h"

namespace morva {
namespace {

using testing::PictureBookTest;

class DumpFormTest : public PictureBookTest {
 protected:
  ~DumpFormTest() override { form_.hide(); }
  QString Text() const { return form_.memo()->toPlainText(); }
  TDumpForm form_{disk_};
};

TEST_F(DumpFormTest, ShowsTheContentStartAndStepsToPageZeroThenStops) {
  form_.ShowDump(kRow, {book_.bodyPage, 0});
  EXPECT_TRUE(form_.isVisible());
  EXPECT_EQ(form_.windowTitle(), QString::fromUtf8("ﾊﾞｲﾅﾘﾀﾞﾝﾌﾟ"));
  EXPECT_EQ(form_.page(), book_.bodyPage);
  EXPECT_TRUE(Text().startsWith(QStringLiteral("Page = 0x%1").arg(book_.bodyPage, 8, 16, QLatin1Char('0'))));

  form_.NextClick();
  EXPECT_EQ(form_.page(), book_.bodyPage + 1);
  // Back to page 1, then page 0, then no further.
  while (form_.page() > 1) form_.PriorClick();
  form_.PriorClick();
  EXPECT_EQ(form_.page(), 0);
  EXPECT_EQ(form_.offset(), 0);
  const QString pageZero = Text();
  EXPECT_TRUE(pageZero.startsWith(QStringLiteral("Page = 0x00000000")));
  form_.PriorClick();
  EXPECT_EQ(form_.page(), 0);
  form_.NextClick();
  EXPECT_EQ(form_.page(), 0);
  EXPECT_EQ(Text(), pageZero);
}

TEST_F(DumpFormTest, WithoutContentTheWindowKeepsWhatItShowed) {
  form_.ShowDump(kRow, {book_.bodyPage, 0x20});
  const QString before = Text();
  EXPECT_TRUE(before.startsWith(QStringLiteral("Position = 0x%1:0020").arg(book_.bodyPage, 8, 16, QLatin1Char('0'))));
  form_.ShowDump(kRow, {});
  EXPECT_EQ(Text(), before);
  form_.NextClick();
  EXPECT_EQ(form_.page(), 0);
  EXPECT_EQ(Text(), before);
}

TEST_F(DumpFormTest, MenusCopyAndSelectAll) {
  form_.ShowDump(kRow, {book_.bodyPage, 0});
  int own = 0;
  QObject::connect(&form_, &TDumpForm::clipboardAboutToChange, [&] { ++own; });
  form_.Copy1Click();  // nothing selected: nothing copied
  EXPECT_EQ(own, 0);
  form_.SelectAll1Click();
  form_.Copy1Click();
  EXPECT_EQ(own, 1);
  EXPECT_EQ(QApplication::clipboard()->text(), Text());
  EXPECT_EQ(form_.findChild<QAction*>(QStringLiteral("Copy1"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
  EXPECT_EQ(form_.findChild<QAction*>(QStringLiteral("SelectAll1"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
  form_.Close1Click();
  EXPECT_FALSE(form_.isVisible());
}

TEST(DumpForm, IsCentredOverTheMainWindow) {
  testing::RecordingReporter reporter;
  TDisk disk(reporter);
  QWidget main;
  main.setGeometry(200, 100, 800, 600);
  TDumpForm form(disk, &main);
  const QRect m = main.frameGeometry();
  EXPECT_EQ(form.x(), m.left() + (m.width() - form.width()) / 2);
  EXPECT_EQ(form.y(), m.top() + (m.height() - form.height()) / 2);
  EXPECT_EQ(form.width(), TDumpForm::kClientWidth);
}

}  // namespace
}  // namespace morva
