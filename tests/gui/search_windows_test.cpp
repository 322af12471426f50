// The search windows of the main window. The 複合 tab: the candidate window
// with nested lists and going back, the query the typed and chosen fields
// make and the entries it finds, and the drawer of text with external
// characters. The general search window as the 総合 tab opens it: the
// full-text search under the progress box, cancelling and resuming with the
// same hits.
#include <QListView>
#include <QPainter>

#include "app/search_windows/compound_tab.h"
#include "app/search_windows/tgeneral_search.h"
#include "tests/gui/main_window_fixture.h"
#include "tests/gui/search_windows_support.h"
#include "view/multi_refer/gaiji_text_painter.h"
#include "view/multi_refer/tmulti_refer.h"

namespace morva::testing {
namespace {

// The compound book open in the main window, which shows the 複合 tab for it.
class SearchWindowsTest : public MainWindowTest {
 protected:
  SearchWindowsTest() {
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

  // A control of the general search window.
  template <typename T>
  T* In(const char* name) {
    return main_->generalSearch()->findChild<T*>(QLatin1String(name));
  }
  // Types the keyword and presses the button.
  void Press(const char* button, const char* keyword) {
    In<QComboBox>("Keyword")->setEditText(QString::fromUtf8(keyword));
    QTest::mouseClick(In<QPushButton>(button), Qt::LeftButton);
  }
  std::string Caption() { return SjisToUtf8(progress_.caption()); }

  SearchBooks books_;
};

// The candidate window opens on the field with candidates and browses its
// nested lists (戻る goes back); a chosen value fills the edit and makes the
// query with typed fields; typing after a choice replaces it; Enter in a
// field or 検索 searches and closes the window.
TEST_F(SearchWindowsTest, CandidatesAndTypedFieldsMakeTheQueryAndFindTheirEntry) {
  Enter(1);
  ASSERT_TRUE(Refer().isVisible());
  const QStringList top = {"動物", "鉱物", "＿印", "石_"};
  EXPECT_EQ(Rows(), top);
  Choose(0);  // 動物 opens its list
  Choose(2);  // 鳥 nests once more
  EXPECT_EQ(Rows(), QStringList({"鳩", "鷺"}));
  Button("Button2");  // 戻る
  EXPECT_EQ(Rows(), top);
  Choose(0);
  Choose(1);
  EXPECT_EQ(Edit(1)->text(), QStringLiteral("猫"));

  Type(0, QStringLiteral(" 猫 "));
  EXPECT_FALSE(Refer().isVisible());
  EXPECT_EQ(Query(), Sjis("@00\"猫\" @01\"猫\" "));
  PressSearch();
  ASSERT_EQ(form_->wordlist().Count(), 1);
  EXPECT_EQ(form_->wordlist().Item(0).body, books_.entries[1]);
  Type(0, QString());
  Type(1, QStringLiteral("鉱物"));
  QTest::keyClick(Edit(1), Qt::Key_Return);
  EXPECT_EQ(Bodies(form_->wordlist()), std::vector<BookAddress>{books_.entries[2]});
}

// Ink of a row drawn into an image: the columns holding dark pixels.
std::vector<int> InkColumns(const QImage& image) {
  std::vector<int> columns;
  for (int x = 0; x < image.width(); ++x) {
    int y = 0;
    while (y < image.height() && qGray(image.pixel(x, y)) >= 64) ++y;
    if (y < image.height()) columns.push_back(x);
  }
  return columns;
}

// The drawer of candidate rows advances a wide external character by two
// character widths and a narrow one by one, drawing the glyphs 16 high.
TEST_F(SearchWindowsTest, ExternalCharactersAreDrawnInlineAtTheirWidths) {
  GaijiTextPainter drawer(form_->disk());
  const GaijiTextPainter::Cell cell{10, 17};  // a line height of 17 draws glyphs 16 high
  QImage image(120, 20, QImage::Format_RGB32);
  // Draws at x = 10 and returns the x after.
  const auto draw = [&](const std::string& marked) {
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    return drawer.Draw(painter, 10, 0, marked, cell);
  };
  const std::string wide = "\x0B\x31\xA1\x21";
  const std::string narrow = "\x0B\x30\xA1\x21";
  EXPECT_EQ(draw(wide), 30);
  std::vector<int> ink = InkColumns(image);
  EXPECT_EQ(std::tuple(ink.size(), ink.front(), ink.back()), std::tuple(16u, 10, 25));
  EXPECT_LT(qGray(image.pixel(12, 15)), 64);
  EXPECT_GT(qGray(image.pixel(12, 16)), 64);  // 16 high, not 17
  EXPECT_EQ(draw(narrow + narrow), 30);       // the 8-dot glyphs 8 wide
  ink = InkColumns(image);
  EXPECT_EQ(std::tuple(ink.size(), ink.front(), ink[8]), std::tuple(16u, 10, 20));
  // A code the font lacks draws nothing but still advances; a marker cut
  // short ends the text.
  EXPECT_EQ(draw(std::string("\x0B\x31\xA1\x22\x0B\x31")), 30);
  EXPECT_TRUE(InkColumns(image).empty());
  const std::string text = Sjis("石") + narrow + Sjis("印");
  const QFontMetrics metrics(QApplication::font());
  EXPECT_EQ(draw(text), 10 + GaijiTextPainter::Advance(text, metrics, cell));
  EXPECT_EQ(GaijiTextPainter::Advance(narrow + wide, metrics, cell), 30);
}

// The full-text search fills the main list with the hits' own addresses; a
// cancel keeps the hits so far and 続行 counts on, the list holding the hits
// before and after the cancel in order.
TEST_F(SearchWindowsTest, FullTextSearchCancelsAndResumesWithTheSameHits) {
  Action("MenuGeneral")->trigger();
  In<QLineEdit>("KeywordPresearch")->setText(QStringLiteral("ない語"));  // nothing: from the start
  Press("ButtonSearch", "共通");
  const std::vector<BookAddress> all = Bodies(form_->wordlist());
  ASSERT_EQ(std::ssize(all), books_.commonTopics);
  EXPECT_EQ(Status(0), std::to_string(all.size()) + " 項目");
  EXPECT_EQ(Caption(), Format("全文検索中(%d件該当)", books_.commonTopics));
  EXPECT_FALSE(progress_.open());
  EXPECT_FALSE(form_->Busy());
  const WordlistItem& item = form_->wordlist().Item(0);
  EXPECT_EQ(std::pair(item.heading, item.book), std::pair(item.body, form_->CurrentBook()));

  progress_.cancelAfterSteps = 20;
  Press("ButtonSearch", "共通");
  const std::vector<BookAddress> part = Bodies(form_->wordlist());
  ASSERT_FALSE(part.empty());
  ASSERT_LT(part.size(), all.size());
  EXPECT_TRUE(std::equal(part.begin(), part.end(), all.begin()));
  progress_.cancelAfterSteps = -1;
  Press("ButtonResume", "共通");
  EXPECT_EQ(Bodies(form_->wordlist()), all);
  EXPECT_EQ(Caption(), Format("全文検索中(%d件該当)", books_.commonTopics));
}

}  // namespace
}  // namespace morva::testing
