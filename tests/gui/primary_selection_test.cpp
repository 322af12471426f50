// The primary selection (middle-button paste) through the wired window on a
// real X server: the content pane offers what the user selects, and the
// clipboard watch, when asked to, searches what other programs select. Run
// by x_primary_selection_test.sh; skipped where the platform has no
// selection (the offscreen platform).
#include <QClipboard>
#include <QComboBox>
#include <QProcess>
#include <QSignalSpy>

#include "app/clipboard/clipboard_watch.h"
#include "tests/gui/main_window_fixture.h"
#include "view/tmyscrollbox.h"
#include "view/ttextview.h"

namespace morva::testing {
namespace {

class PrimarySelectionTest : public WiringTest {
 protected:
  void SetUp() override {
    if (!QGuiApplication::clipboard()->supportsSelection())
      GTEST_SKIP() << "no primary selection here";
  }
  void TearDown() override {
    if (other_.state() != QProcess::NotRunning) {
      other_.closeWriteChannel();
      other_.waitForFinished(5000);
    }
  }
  static QString Selection() { return QGuiApplication::clipboard()->text(QClipboard::Selection); }
  // Another program selects text; returns once this program has been told.
  void OtherProgramSelects(const QString& text) {
    TearDown();
    QSignalSpy changes(QGuiApplication::clipboard(), &QClipboard::selectionChanged);
    other_.start(QStringLiteral(MORVA_SELECTION_OWNER), {text});
    ASSERT_TRUE(other_.waitForReadyRead(10000)) << other_.readAllStandardError().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return changes.count() > 0 && Selection() == text; }, 5000));
    QTest::qWait(100);
  }
  QProcess other_;
};

TEST_F(PrimarySelectionTest, PaneOffersItsSelectionWithLfLineEndsAndNeverSearchesIt) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 3))}}, "AutoSearch=5\nWatchSelection=yes");
  TMorvaForm& form = OpenWired();
  SearchWired("ねこ");
  form.ShowItem(0);
  form.SetSearchText(QString());
  QWidget* pane = Child<TMyScrollBox>("MyScrollBox1")->viewport();
  const int line = form.view()->LineHeight();

  // Dragging over the heading and into the text below it.
  QTest::mousePress(pane, Qt::LeftButton, {}, QPoint(1, line / 2));
  QTest::mouseMove(pane, QPoint(pane->width() / 2, line * 3 / 2));
  QTest::mouseRelease(pane, Qt::LeftButton, {}, QPoint(pane->width() / 2, line * 3 / 2));
  QTest::qWait(200);  // a notice of the change would have come by now
  const QString dragged = Selection();
  EXPECT_TRUE(dragged.startsWith(QStringLiteral("ねこ１\n"))) << dragged.toStdString();
  EXPECT_FALSE(dragged.contains(QLatin1Char('\r')));
  EXPECT_TRUE(Box()->currentText().isEmpty());

  // A double click selects the word under it (in the heading), and the
  // selection follows.
  QTest::mouseDClick(pane, Qt::LeftButton, {}, QPoint(2, line / 2));
  QTest::qWait(200);
  const QString word = Selection();
  EXPECT_FALSE(word.isEmpty());
  EXPECT_TRUE(QStringLiteral("ねこ１").startsWith(word)) << word.toStdString();
  EXPECT_TRUE(Box()->currentText().isEmpty());

  // The window's own selections leave nothing behind that would swallow
  // the next selection of another program.
  OtherProgramSelects(QStringLiteral("ねこ"));
  EXPECT_EQ(Box()->currentText().toStdString(), "ねこ");
}

// Another program selects a word: searched by the AutoSearch rules with the
// option on, left alone with it off.
TEST_F(PrimarySelectionTest, AnotherProgramsSelectionIsSearchedOnlyWithTheOption) {
  for (const bool watch : {false, true}) {
    SCOPED_TRACE(watch);
    UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 3))}},
             std::string("AutoSearch=5\nWatchSelection=") + (watch ? "yes" : "no"));
    TMorvaForm& form = OpenWired();
    OtherProgramSelects(QStringLiteral(" ねこ "));
    EXPECT_EQ(Box()->currentText().toStdString(), watch ? "ねこ" : "");
    EXPECT_EQ(form.wordlist().Count(), watch ? 3 : 0);
    window_.reset();
  }
}

}  // namespace
}  // namespace morva::testing
