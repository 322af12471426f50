// The 複合 tab: the fields of the loaded form, stepping between forms, the
// candidate window with nested lists and external characters, and the query
// the filled fields make.
#include "app/search_windows/compound_tab.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <memory>

#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/search/index_search.h"
#include "engine/search/wordlist.h"
#include "engine/text/unicode.h"
#include "tests/gui/search_windows_support.h"
#include "tests/support/recording_reporter.h"
#include "view/display_fonts.h"
#include "view/multi_refer/tmulti_refer.h"

namespace morva {
namespace {

using testing::SearchBooks;

constexpr int kCharHeight = 12;
constexpr int kPaneWidth = 161;

class CompoundTabTest : public ::testing::Test {
 protected:
  CompoundTabTest() {
    disk_.SetBookList(&book_.books);
    pane_.setGeometry(50, 50, kPaneWidth, 400);
    for (int f = 0; f < CompoundSearch::kMaxFields; ++f) {
      auto* label = new QLabel(&pane_);
      label->setObjectName(QStringLiteral("MultiLabel%1").arg(f + 1));
      auto* edit = new QLineEdit(&pane_);
      edit->setObjectName(QStringLiteral("MultiEdit%1").arg(f + 1));
      widgets_.labels[static_cast<size_t>(f)] = label;
      widgets_.edits[static_cast<size_t>(f)] = edit;
    }
    widgets_.labels[0]->move(4, 6);
    widgets_.upDown = new QSpinBox(&pane_);
    widgets_.upDown->setObjectName(QStringLiteral("UpDown1"));
    widgets_.upDown->resize(36, 22);
    widgets_.searchButton = new QPushButton(QStringLiteral("検索"), &pane_);
    widgets_.searchButton->setObjectName(QStringLiteral("MultiSearchButton"));
    widgets_.searchButton->resize(60, 24);
    refer_ = new TMultiRefer(disk_, search_, fonts_, &pane_);
    tab_ = std::make_unique<CompoundTab>(search_, *refer_, widgets_);
    QObject::connect(tab_.get(), &CompoundTab::statusChanged,
                     [this](const std::string& text) { status_ = QString::fromStdString(SjisToUtf8(text)); });
    tab_->SetSearchHandler([this](const std::string& query) {
      query_ = query;
      Search(disk_, hits_, book_.books, query, disk_.CurrentSubbook());
    });
    tab_->LayOut(QApplication::font(), kCharHeight);
    tab_->Resize(kPaneWidth);
    pane_.show();
    // Fields are entered through focus, which needs an active window.
    pane_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&pane_));
    Open(SearchBooks::kCompoundBook);
  }

  void Open(int book) {
    ASSERT_TRUE(disk_.SelectSubbook(book));
    tab_->TabShown();
  }

  QLabel* Label(int f) const { return widgets_.labels[static_cast<size_t>(f)]; }
  QLineEdit* Edit(int f) const { return widgets_.edits[static_cast<size_t>(f)]; }
  bool Shown(const QWidget* w) const { return w->isVisibleTo(&pane_); }
  int ShownFields() const {
    int n = 0;
    for (int f = 0; f < CompoundSearch::kMaxFields; ++f) n += Shown(Edit(f)) ? 1 : 0;
    return n;
  }
  QStringList Rows() const {
    QStringList rows;
    auto* grid = refer_->findChild<QListView*>(QStringLiteral("DrawGrid1"));
    for (int r = 0; r < grid->model()->rowCount(); ++r) rows << grid->model()->index(r, 0).data().toString();
    return rows;
  }
  // Chooses a row of the candidate window with 選択(&S).
  void Choose(int row) {
    refer_->SetCurrentRow(row);
    QTest::mouseClick(refer_->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
  }
  // Moves the focus into the field's edit, as a click or Tab would.
  void Enter(int f) {
    Edit(f)->clearFocus();
    Edit(f)->setFocus();
  }
  // Types over the field's text as an input method commits it.
  void Type(int f, const QString& text) {
    Edit(f)->setFocus();
    Edit(f)->selectAll();
    QInputMethodEvent input;
    input.setCommitString(text);
    QApplication::sendEvent(Edit(f), &input);
  }

  SearchBooks book_;
  testing::RecordingReporter reporter_;
  TDisk disk_{reporter_};
  Wordlist hits_{reporter_};
  CompoundSearch search_{disk_};
  DisplayFonts fonts_{ViewSettings{}};
  QWidget pane_;
  CompoundTabWidgets widgets_;
  TMultiRefer* refer_ = nullptr;  // owned by pane_
  std::unique_ptr<CompoundTab> tab_;
  QString status_;
  std::string query_;
};

TEST_F(CompoundTabTest, FirstFormShowsFiveOfItsSevenFields) {
  EXPECT_EQ(status_, QStringLiteral("複合 1/2"));
  EXPECT_EQ(ShownFields(), 5);
  const QStringList labels = {"名前", "分類", "産地", "色", "大きさ"};
  for (int f = 0; f < 5; ++f) {
    EXPECT_TRUE(Shown(Label(f)));
    EXPECT_EQ(Label(f)->text(), labels[f]);
  }
  EXPECT_EQ(widgets_.upDown->maximum(), 1);
  EXPECT_TRUE(widgets_.upDown->wrapping());

  // Stacked: label, edit, label, edit ..., each the character height + 4
  // high, 2 pixels between pairs; the search button under the last edit.
  EXPECT_EQ(Label(0)->geometry(), QRect(4, 6, kPaneWidth - 14, kCharHeight + 4));
  EXPECT_EQ(Edit(0)->y(), Label(0)->y() + kCharHeight + 4);
  EXPECT_EQ(Label(1)->y(), Edit(0)->y() + kCharHeight + 4 + 2);
  EXPECT_EQ(Label(0)->font().pixelSize(), kCharHeight);
  EXPECT_GT(widgets_.searchButton->y(), Edit(4)->geometry().bottom());
  EXPECT_EQ(widgets_.searchButton->geometry().right(), kPaneWidth - 13 - 1);

  // Field 1 is entered: its edit has the window colour, the others the
  // button face; it has no candidates, so the candidate window stays hidden.
  EXPECT_EQ(search_.CurrentField(), 0);
  const QPalette& app = QApplication::palette();
  EXPECT_EQ(Edit(0)->palette().color(QPalette::Base), app.color(QPalette::Base));
  EXPECT_EQ(Edit(3)->palette().color(QPalette::Base), app.color(QPalette::Button));
  EXPECT_FALSE(refer_->isVisible());
}

TEST_F(CompoundTabTest, UpDownStepsThroughTheFormsAndWraps) {
  widgets_.upDown->stepUp();
  EXPECT_EQ(status_, QStringLiteral("複合 2/2"));
  EXPECT_EQ(ShownFields(), 2);
  EXPECT_EQ(Label(0)->text(), QStringLiteral("読み"));
  EXPECT_EQ(Label(1)->text(), QStringLiteral("意味"));
  EXPECT_FALSE(Shown(Label(2)));
  EXPECT_GT(widgets_.searchButton->y(), Edit(1)->geometry().bottom());
  EXPECT_LT(widgets_.searchButton->y(), Edit(2)->y());

  widgets_.upDown->stepUp();  // past the last: the first again
  EXPECT_EQ(status_, QStringLiteral("複合 1/2"));
  EXPECT_EQ(ShownFields(), 5);
  tab_->StepForm();  // 複合検索 chosen again
  EXPECT_EQ(tab_->LoadedForm(), 1);
  tab_->StepForm();
  EXPECT_EQ(tab_->LoadedForm(), 0);

  // Showing the tab again loads form 0 afresh, with empty fields.
  widgets_.upDown->stepUp();
  Type(0, QStringLiteral("いぬ"));
  Open(SearchBooks::kCompoundBook);
  EXPECT_EQ(widgets_.upDown->value(), 0);
  EXPECT_EQ(status_, QStringLiteral("複合 1/2"));
  EXPECT_TRUE(Edit(0)->text().isEmpty());

  // An owner that lays the tab out itself is told when the rows change; the
  // tab then leaves the button where it is.
  int layouts = 0;
  QObject::connect(tab_.get(), &CompoundTab::rowsChanged, [&] { ++layouts; });
  const QPoint button = widgets_.searchButton->pos();
  widgets_.upDown->stepUp();
  EXPECT_EQ(layouts, 1);
  EXPECT_EQ(widgets_.searchButton->pos(), button);
}

TEST_F(CompoundTabTest, BookWithoutCompoundSearchShowsNoField) {
  Open(SearchBooks::kKeywordBook);
  EXPECT_EQ(ShownFields(), 0);
  EXPECT_TRUE(status_.isEmpty());
  EXPECT_FALSE(refer_->isVisible());
  tab_->MultiSearchButtonClick();
  EXPECT_TRUE(query_.empty());
}

TEST_F(CompoundTabTest, CandidateWindowBrowsesNestedListsAndGoesBack) {
  Enter(1);
  ASSERT_TRUE(refer_->isVisible());
  EXPECT_EQ(refer_->windowTitle(), QStringLiteral("分類"));
  EXPECT_EQ(refer_->size(), QSize(393, 250));
  EXPECT_EQ(refer_->pos(), Edit(1)->mapToGlobal(QPoint(0, Edit(1)->height())));
  EXPECT_EQ(Edit(1)->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
  EXPECT_EQ(Edit(0)->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Button));
  const QStringList top = {"動物", "鉱物", "＿印", "石_"};
  EXPECT_EQ(Rows(), top);

  Choose(0);  // 動物 opens its list
  EXPECT_EQ(Rows(), QStringList({"犬", "猫", "鳥"}));
  EXPECT_TRUE(Edit(1)->text().isEmpty());
  Choose(2);  // 鳥 nests once more
  EXPECT_EQ(Rows(), QStringList({"鳩", "鷺"}));

  QTest::mouseClick(refer_->findChild<QPushButton*>(QStringLiteral("Button2")), Qt::LeftButton);  // 戻る
  EXPECT_EQ(Rows(), top);
  EXPECT_EQ(refer_->CurrentRow(), 0);
  EXPECT_TRUE(refer_->isVisible());

  // A double-click chooses like 選択: a value fills the edit.
  Choose(0);
  auto* grid = refer_->findChild<QListView*>(QStringLiteral("DrawGrid1"));
  const QRect cat = grid->visualRect(grid->model()->index(1, 0));
  // A real double-click: press and release, then the double-click.
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cat.center());
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cat.center());
  EXPECT_EQ(Edit(1)->text(), QStringLiteral("猫"));
  EXPECT_EQ(Rows(), QStringList({"犬", "猫", "鳥"}));  // the window stays on the list

  // After a choice 戻る shows the field's value as the caption.
  QTest::mouseClick(refer_->findChild<QPushButton*>(QStringLiteral("Button2")), Qt::LeftButton);
  EXPECT_EQ(refer_->windowTitle(), QStringLiteral("猫"));

  // Entering a field without candidates hides the window; coming back shows
  // the top list again.
  Enter(0);
  EXPECT_FALSE(refer_->isVisible());
  Enter(1);
  EXPECT_TRUE(refer_->isVisible());
  EXPECT_EQ(Rows(), top);
}

TEST_F(CompoundTabTest, QueryJoinsTypedAndChosenFieldsAndFindsTheirEntry) {
  Type(0, QStringLiteral("犬"));
  Enter(1);
  Choose(0);
  Choose(0);  // 動物 -> 犬
  EXPECT_EQ(Edit(1)->text(), QStringLiteral("犬"));

  QTest::mouseClick(widgets_.searchButton, Qt::LeftButton);
  EXPECT_EQ(query_, Sjis("@00\"犬\" @01\"犬\" "));
  EXPECT_FALSE(refer_->isVisible());
  ASSERT_EQ(hits_.Count(), 1);
  EXPECT_EQ(hits_.Item(0).body, book_.entries[0]);

  // Enter in a field searches too.
  query_.clear();
  QTest::keyClick(Edit(0), Qt::Key_Return);
  EXPECT_EQ(query_, Sjis("@00\"犬\" @01\"犬\" "));
}

TEST_F(CompoundTabTest, TypingAfterAChoiceUsesTheTypedText) {
  Enter(1);
  Choose(0);
  Choose(1);  // 動物 -> 猫
  EXPECT_EQ(Edit(1)->text(), QStringLiteral("猫"));
  Type(1, QStringLiteral("鉱物"));
  tab_->MultiSearchButtonClick();
  EXPECT_EQ(query_, Sjis("@01\"鉱物\" "));
  ASSERT_EQ(hits_.Count(), 1);
  EXPECT_EQ(hits_.Item(0).body, book_.entries[2]);

  // A choice after typing counts again.
  Enter(1);
  Choose(1);  // 鉱物 from the top list
  Type(0, QStringLiteral(" 猫 "));
  tab_->MultiSearchButtonClick();
  EXPECT_EQ(query_, Sjis("@00\"猫\" @01\"鉱物\" "));
  EXPECT_EQ(hits_.Count(), 0);
}

TEST_F(CompoundTabTest, ChosenExternalCharactersShowAsLowLinesAndQueryAsTheirCodes) {
  Enter(1);
  Choose(2);
  EXPECT_EQ(Edit(1)->text(), QStringLiteral("＿印"));
  EXPECT_EQ(tab_->BuildQuery(), "@01\"\xA1\x21" + Sjis("印") + "\" ");
  Enter(1);
  Choose(3);
  EXPECT_EQ(Edit(1)->text(), QStringLiteral("石_"));
  EXPECT_EQ(tab_->BuildQuery(), "@01\"" + Sjis("石") + "\xA1\x21\" ");
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
  const QFontMetrics list(fonts_.Set(0).list);
  const int left = list.height() * 3 / 10;
  const int glyph = std::min(list.height() >= 16 && list.height() <= 18 ? 16 : list.height(), TMultiRefer::kRowHeight);
  QImage row(TMultiRefer::kColumnWidth, TMultiRefer::kRowHeight, QImage::Format_RGB32);
  QPainter painter(&row);
  refer_->DrawGrid1DrawCell(painter, 2, row.rect(), false);  // the wide glyph, then 印
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
  testing::RecordingReporter reporter_;
  TDisk disk_{reporter_};
  GaijiTextPainter painter_{disk_};
  GaijiTextPainter::Cell cell_{10, 17};  // a line height of 17 draws glyphs 16 high
  QImage image_{120, 20, QImage::Format_RGB32};
};

TEST_F(GaijiTextPainterTest, GlyphsAdvanceByCharacterWidths) {
  const std::string wide("\x0B" "1\xA1\x21", 4);
  const std::string narrow("\x0B" "0\xA1\x21", 4);
  EXPECT_EQ(Draw(wide), 30);  // two character widths
  EXPECT_EQ(InkColumns(image_), (std::vector<int>{10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}));
  EXPECT_LT(qGray(image_.pixel(12, 15)), 64);
  EXPECT_GT(qGray(image_.pixel(12, 16)), 64);  // 16 high, not 17

  image_.fill(Qt::white);
  EXPECT_EQ(Draw(narrow + narrow), 30);  // one width each; the 8-dot glyphs 8 wide
  EXPECT_EQ(InkColumns(image_), (std::vector<int>{10, 11, 12, 13, 14, 15, 16, 17, 20, 21, 22, 23, 24, 25, 26, 27}));

  // A code the font lacks draws nothing but still advances; a marker cut
  // short ends the text.
  image_.fill(Qt::white);
  EXPECT_EQ(Draw(std::string("\x0B" "1\xA1\x22", 4) + std::string("\x0B" "1", 2)), 30);
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
}  // namespace morva
