// The 複合 tab of the main window: the candidate window with nested lists,
// going back and external characters drawn inline, the query the typed and
// chosen fields make and the entries it finds; and the drawer of text with
// external characters.
#include "app/search_windows/compound_tab.h"

#include <QImage>
#include <QLabel>
#include <QListView>
#include <QPainter>

#include "engine/search/compound.h"
#include "tests/gui/main_window_fixture.h"
#include "tests/gui/search_windows_support.h"
#include "view/multi_refer/tmulti_refer.h"

namespace morva::testing {
namespace {

// The compound book open in the main window, which shows the 複合 tab for it.
class CompoundTabTest : public MainWindowTest {
 protected:
  CompoundTabTest() {
    UseBooks({{"複合試験", books_.books[SearchBooks::kCompoundBook].location}});
    Open();
    // Fields are entered through focus, which needs an active window.
    form_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form_));
    EXPECT_EQ(form_->ActiveTab(), kMultiTab);
  }

  TMultiRefer& Refer() { return main_->multiRefer(); }
  QLineEdit* Edit(int f) { return Find<QLineEdit>(("MultiEdit" + std::to_string(f + 1)).c_str()); }
  QStringList Rows() {
    QStringList rows;
    auto* grid = Refer().findChild<QListView*>(QStringLiteral("DrawGrid1"));
    for (int r = 0; r < grid->model()->rowCount(); ++r)
      rows << grid->model()->index(r, 0).data().toString();
    return rows;
  }
  void Button(const char* name) {
    QTest::mouseClick(Refer().findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
  }
  // Chooses a row of the candidate window with 選択(&S).
  void Choose(int row) {
    Refer().SetCurrentRow(row);
    Button("Button1");
  }
  // Moves into the field's edit, as a click does.
  void Enter(int f) { QTest::mouseClick(Edit(f), Qt::LeftButton); }
  // Types over the field's text as an input method commits it (nothing:
  // deletes it).
  void Type(int f, const QString& text) {
    Enter(f);
    Edit(f)->selectAll();
    if (text.isEmpty()) return QTest::keyClick(Edit(f), Qt::Key_Backspace);
    QInputMethodEvent input;
    input.setCommitString(text);
    QApplication::sendEvent(Edit(f), &input);
  }
  std::string Query() { return main_->compoundTab().BuildQuery(); }
  void PressSearch() { QTest::mouseClick(Find<QPushButton>("MultiSearchButton"), Qt::LeftButton); }

  SearchBooks books_;
};

TEST_F(CompoundTabTest, CandidateWindowBrowsesNestedListsAndGoesBack) {
  EXPECT_FALSE(Refer().isVisible());  // field 1 has no candidates
  Enter(1);
  ASSERT_TRUE(Refer().isVisible());
  EXPECT_EQ(Refer().windowTitle(), QStringLiteral("分類"));
  // The entered field has the window colour, the others the button face.
  EXPECT_EQ(Edit(1)->palette().color(QPalette::Base),
            QApplication::palette().color(QPalette::Base));
  EXPECT_EQ(Edit(0)->palette().color(QPalette::Base),
            QApplication::palette().color(QPalette::Button));
  const QStringList top = {"動物", "鉱物", "＿印", "石_"};
  EXPECT_EQ(Rows(), top);

  Choose(0);  // 動物 opens its list
  EXPECT_EQ(Rows(), QStringList({"犬", "猫", "鳥"}));
  EXPECT_TRUE(Edit(1)->text().isEmpty());
  Choose(2);  // 鳥 nests once more
  EXPECT_EQ(Rows(), QStringList({"鳩", "鷺"}));
  Button("Button2");  // 戻る
  EXPECT_EQ(Rows(), top);
  EXPECT_EQ(Refer().CurrentRow(), 0);
  EXPECT_TRUE(Refer().isVisible());

  // A real double-click chooses like 選択: a value fills the edit and the
  // window stays on the list.
  Choose(0);
  auto* grid = Refer().findChild<QListView*>(QStringLiteral("DrawGrid1"));
  const QRect cat = grid->visualRect(grid->model()->index(1, 0));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cat.center());
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cat.center());
  EXPECT_EQ(Edit(1)->text(), QStringLiteral("猫"));
  EXPECT_EQ(Rows(), QStringList({"犬", "猫", "鳥"}));
  // After a choice 戻る shows the field's value as the caption.
  Button("Button2");
  EXPECT_EQ(Refer().windowTitle(), QStringLiteral("猫"));

  // A field without candidates hides the window; coming back shows the top
  // list again.
  Enter(0);
  EXPECT_FALSE(Refer().isVisible());
  Enter(1);
  EXPECT_TRUE(Refer().isVisible());
  EXPECT_EQ(Rows(), top);
}

// Typed and chosen fields make the query; typing after a choice replaces
// it, a choice after typing counts again.
TEST_F(CompoundTabTest, QueryJoinsTypedAndChosenFieldsAndFindsTheirEntry) {
  Type(0, QStringLiteral("犬"));
  Enter(1);
  Choose(0);
  Choose(0);  // 動物 -> 犬
  EXPECT_EQ(Edit(1)->text(), QStringLiteral("犬"));
  EXPECT_EQ(Query(), Sjis("@00\"犬\" @01\"犬\" "));
  PressSearch();
  EXPECT_FALSE(Refer().isVisible());
  ASSERT_EQ(form_->wordlist().Count(), 1);
  EXPECT_EQ(form_->wordlist().Item(0).body, books_.entries[0]);

  Type(0, QString());
  Enter(1);
  Choose(0);
  Choose(1);  // 動物 -> 猫
  Type(1, QStringLiteral("鉱物"));
  EXPECT_EQ(Query(), Sjis("@01\"鉱物\" "));
  QTest::keyClick(Edit(1), Qt::Key_Return);  // Enter in a field searches too
  ASSERT_EQ(form_->wordlist().Count(), 1);
  EXPECT_EQ(form_->wordlist().Item(0).body, books_.entries[2]);

  Enter(1);
  Choose(1);  // 鉱物 from the top list
  Type(0, QStringLiteral(" 猫 "));
  EXPECT_EQ(Query(), Sjis("@00\"猫\" @01\"鉱物\" "));
  PressSearch();
  EXPECT_EQ(form_->wordlist().Count(), 0);
}

TEST_F(CompoundTabTest, ChosenExternalCharactersShowAsLowLinesAndQueryAsTheirCodes) {
  Enter(1);
  Choose(2);
  EXPECT_EQ(Edit(1)->text(), QStringLiteral("＿印"));
  EXPECT_EQ(Query(), "@01\"\xA1\x21" + Sjis("印") + "\" ");
  Enter(1);
  Choose(3);
  EXPECT_EQ(Edit(1)->text(), QStringLiteral("石_"));
  EXPECT_EQ(Query(), "@01\"" + Sjis("石") + "\xA1\x21\" ");
}

// Ink of a row drawn into an image: the columns holding dark pixels.
std::vector<int> InkColumns(const QImage& image) {
  std::vector<int> columns;
  for (int x = 0; x < image.width(); ++x) {
    for (int y = 0; y < image.height(); ++y) {
      if (qGray(image.pixel(x, y)) < 64) {
        columns.push_back(x);
        break;
      }
    }
  }
  return columns;
}

TEST_F(CompoundTabTest, CandidateRowsDrawExternalCharactersInline) {
  Enter(1);
  const QFontMetrics list(form_->fonts().Set(0).list);
  const int left = list.height() * 3 / 10;
  const int glyph = std::min(list.height() >= 16 && list.height() <= 18 ? 16 : list.height(),
                             TMultiRefer::kRowHeight);
  QImage row(TMultiRefer::kColumnWidth, TMultiRefer::kRowHeight, QImage::Format_RGB32);
  QPainter painter(&row);
  Refer().DrawGrid1DrawCell(painter, 2, row.rect(), false);  // the wide glyph, then 印
  painter.end();
  // The solid glyph fills its square cell from the row's indent.
  const std::vector<int> ink = InkColumns(row);
  ASSERT_FALSE(ink.empty());
  EXPECT_EQ(ink.front(), left);
  for (int x = left; x < left + glyph; ++x) EXPECT_LT(qGray(row.pixel(x, glyph / 2)), 64) << x;
  EXPECT_GT(ink.back(), left + glyph);  // 印 after it
}

// The text-with-external-characters drawer on a cell of known metrics.
class GaijiTextPainterTest : public ::testing::Test {
 protected:
  GaijiTextPainterTest() {
    disk_.SetBookList(&book_.books);
    EXPECT_TRUE(disk_.SelectSubbook(SearchBooks::kCompoundBook));
    image_.fill(Qt::white);
  }
  // Draws at x = 10 and returns the x after.
  int Draw(const std::string& marked) {
    QPainter painter(&image_);
    painter.setPen(Qt::black);
    return painter_.Draw(painter, 10, 0, marked, cell_);
  }

  SearchBooks book_;
  RecordingReporter reporter_;
  TDisk disk_{reporter_};
  GaijiTextPainter painter_{disk_};
  GaijiTextPainter::Cell cell_{10, 17};  // a line height of 17 draws glyphs 16 high
  QImage image_{120, 20, QImage::Format_RGB32};
};

TEST_F(GaijiTextPainterTest, GlyphsAdvanceByCharacterWidths) {
  const std::string wide(
      "\x0B"
      "1\xA1\x21",
      4);
  const std::string narrow(
      "\x0B"
      "0\xA1\x21",
      4);
  EXPECT_EQ(Draw(wide), 30);  // two character widths
  EXPECT_EQ(InkColumns(image_),
            (std::vector<int>{10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}));
  EXPECT_LT(qGray(image_.pixel(12, 15)), 64);
  EXPECT_GT(qGray(image_.pixel(12, 16)), 64);  // 16 high, not 17

  image_.fill(Qt::white);
  EXPECT_EQ(Draw(narrow + narrow), 30);  // one width each; the 8-dot glyphs 8 wide
  EXPECT_EQ(InkColumns(image_),
            (std::vector<int>{10, 11, 12, 13, 14, 15, 16, 17, 20, 21, 22, 23, 24, 25, 26, 27}));

  // A code the font lacks draws nothing but still advances; a marker cut
  // short ends the text.
  image_.fill(Qt::white);
  EXPECT_EQ(Draw(std::string("\x0B"
                             "1\xA1\x22",
                             4) +
                 std::string("\x0B"
                             "1",
                             2)),
            30);
  EXPECT_TRUE(InkColumns(image_).empty());

  // Text runs around glyphs are drawn after them.
  image_.fill(Qt::white);
  const std::string text = Sjis("石") + narrow + Sjis("印");
  const int end = Draw(text);
  const QFontMetrics metrics(QApplication::font());
  EXPECT_EQ(end, 10 + GaijiTextPainter::Advance(text, metrics, cell_));
  EXPECT_EQ(GaijiTextPainter::Advance(narrow + wide, metrics, cell_), 30);
}

}  // namespace
}  // namespace morva::testing
