// Selection, words, copying, finding and links in the content view.
#include <gtest/gtest.h>

#include <QTest>

#include "engine/book/text_utils.h"
#include "engine/decode/content.h"
#include "tests/view/layout_fixture.h"
#include "tests/view/view_fixture.h"

namespace morva {
namespace {

using testing::J;
using testing::Link;
using testing::ViewHarness;

TEST(SelectionTest, DoubleClickSelectsARunOfOneClass) {
  ViewHarness h;
  h.ShowMarked(J("漢字ひらがなー。") + "abc\n");
  // Anchor on ら (bytes 6-7): the hiragana run with its long vowel mark.
  h.view->SetAnchor({0, 6});
  h.view->DoubleClick();
  EXPECT_EQ(h.view->SelectionText(false), J("ひらがなー"));
  h.view->SetAnchor({0, 17});
  h.view->DoubleClick();
  EXPECT_EQ(h.view->SelectionText(false), "abc");
  // A word beginning with ー takes the class of the kana after it.
  h.ShowMarked(J("漢ーカナ字") + "\n", 2);
  h.view->SetAnchor({0, 4});
  h.view->DoubleClick();
  EXPECT_EQ(h.view->SelectionText(false), J("ーカナ"));
  // A word at the start of a line takes nothing of the line end before it.
  h.ShowMarked("ab\nplain\n");
  h.view->SetAnchor({1, 2});
  h.view->DoubleClick();
  EXPECT_EQ(h.view->SelectionText(false), "plain");
}

TEST(SelectionTest, DoubleClickedWordRunsOverAWrappedLineEnd) {
  ViewHarness h;
  h.ShowMarked("x\n");
  const int columns = h.view->Columns();
  ASSERT_GT(columns, 10);
  // A kanji run, then hiragana that fill the line and go on to the next one;
  // a double-click by mouse on the second line's first character.
  const std::string hiragana = testing::Repeat(J("あ"), columns / 2);
  h.ShowMarked(J("漢字") + hiragana + J("漢") + "\n");
  ASSERT_EQ(h.view->LineCount(), 2);
  const QPoint at(4 + h.fonts.Set(0).cw, h.view->LineHeight() + h.view->LineHeight() / 2);
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                            QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
    h.Mouse(type, at);
  EXPECT_EQ(h.view->SelectionStart(), (TextPos{0, 4}));
  EXPECT_EQ(h.view->SelectionText(false), hiragana);
}

// What the user selects is offered as the primary selection; a click that
// selects nothing and the copy's own selection of the whole entry are not.
TEST(SelectionTest, UserSelectionsAreOfferedAsThePrimarySelection) {
  ViewHarness h;
  h.ShowMarked("abc def\nghi\n");
  const int line = h.view->LineHeight();
  h.view->MouseDown(1, line / 2, false);
  h.view->MouseUp(1, line / 2);
  EXPECT_TRUE(h.clipboard.selections.empty());
  h.view->MouseDown(1, line / 2, false);
  h.view->MouseMove(1, line * 3 / 2, false);
  h.view->MouseUp(1, line * 3 / 2);
  h.view->SetAnchor({0, 5});
  h.view->DoubleClick();
  h.view->SetAnchor({1, 0});
  h.view->CopySelection();
  EXPECT_EQ(h.clipboard.selections, (std::vector<std::string>{"abc def\r\n", "def"}));
}

TEST(SelectionTest, SelectionTextJoinsWrappedLinesAndShowsExternalCharacters) {
  ViewHarness h;
  h.ShowMarked("ab" + testing::Gaiji(true, 0xA121) + testing::Gaiji(false, 0xA121) +
               Link("cd", 1, 0) + "\nef\n");
  h.view->SelectAll();
  EXPECT_EQ(h.view->SelectionText(false), "ab" + J("＿") + "_cd\r\nef");
  EXPECT_EQ(h.view->SelectionText(true), "ab" + J("＿") + "_cd");
  EXPECT_EQ(h.view->SelectionText(false, 4), "ab" + J("＿"));
}

TEST(SelectionTest, CopyAddsTheSourceNoticeOnlyToLongOrMultiLineText) {
  ViewHarness h(testing::TestSettings(), {1000, 300});
  h.ShowMarked("x\n");
  ASSERT_GT(h.view->Columns(), 90);
  h.disk.info().source = Sjis("出典：見本");
  const std::string notice = "\r\n" + Sjis("出典：見本") + "\r\n";
  const struct {
    std::string shown;
    bool all;  // copy everything (nothing is selected) or the first three bytes
    std::string copied;
  } cases[] = {{std::string(80, 'a'), true, std::string(80, 'a')},
               {std::string(81, 'a'), true, std::string(81, 'a') + notice},
               {"ab\ncd", false, "ab\r\nc" + notice}};
  int page = 1;
  for (const auto& c : cases) {
    h.ShowMarked(c.shown + "\n", ++page);
    if (!c.all) h.view->Select({0, 0}, {1, 1});
    h.view->CopySelection();
    EXPECT_EQ(h.clipboard.texts.back(), c.copied);
    if (c.all) {
      EXPECT_FALSE(h.view->HasSelection());
    }
  }
  // No notice without a SOURCE= statement.
  h.disk.info().source.clear();
  h.ShowMarked(std::string(81, 'a') + "\n", ++page);
  h.view->CopySelection();
  EXPECT_EQ(h.clipboard.texts.back(), std::string(81, 'a'));
}

TEST(SelectionTest, FindRunsOverWrappedLineEndsButNotOverBreaks) {
  ViewHarness h;
  h.ShowMarked("x\n");
  const int columns = h.view->Columns();
  h.ShowMarked(std::string(static_cast<size_t>(columns - 2), 'x') + "abCD\nef\n");
  ASSERT_EQ(h.view->LineCount(), 3);
  EXPECT_TRUE(h.view->Find("abcd", false));
  EXPECT_EQ(h.view->SelectionStart(), (TextPos{0, columns - 2}));
  EXPECT_EQ(h.view->SelectionEnd(), (TextPos{1, 2}));
  h.view->SetAnchor({0, 0});
  EXPECT_FALSE(h.view->Find("abcd", true));
  EXPECT_EQ(h.beeps, 1);
  EXPECT_FALSE(h.view->Find("CDef", false));
  EXPECT_EQ(h.beeps, 2);
  EXPECT_FALSE(h.view->HasSelection());
  // Link starts and markers inside the text do not stop a match; the search
  // goes on after the selection.
  h.ShowMarked("one " + Link("two", 1, 0) + " two\n", 2);
  EXPECT_TRUE(h.view->Find("one two two", true));
  h.view->SetAnchor({0, 0});
  EXPECT_TRUE(h.view->Find("two", true));
  EXPECT_EQ(h.view->SelectionStart().pos, 4);  // at the link start
  EXPECT_TRUE(h.view->Find("two", true));
  EXPECT_EQ(h.view->SelectionStart().pos, 4 + 1 + 3 + 15 + 1);
  // A match further down is scrolled to the middle of the pane.
  std::string text;
  for (int i = 0; i < 100; ++i) text += Format("line %d\n", i);
  h.ShowMarked(text, 3);
  EXPECT_TRUE(h.view->Find("line 70", true));
  EXPECT_EQ(h.view->TopLine(), 70 - h.view->VisibleLines() / 2);
}

TEST(SelectionTest, DraggingBelowThePaneScrollsUntilTheEnd) {
  ViewHarness h;
  std::string text;
  for (int i = 0; i < 40; ++i) text += Format("line %d\n", i);
  h.ShowMarked(text);
  const int v = h.view->VisibleLines();
  const int below = h.pane.viewport()->height() + 5;
  h.Mouse(QEvent::MouseButtonPress, {10, 5});
  h.Mouse(QEvent::MouseMove, {10, below});
  // Each repetition scrolls one line; they go on by themselves to the end.
  EXPECT_TRUE(QTest::qWaitFor([&] { return h.view->TopLine() == 40 - v; }));
  EXPECT_EQ(h.view->SelectionEnd().line, 39);
  // Releasing the button ends the selecting; the selection stays.
  h.Mouse(QEvent::MouseButtonRelease, {10, below});
  EXPECT_EQ(h.view->SelectionStart(), (TextPos{0, 0}));
  EXPECT_EQ(h.view->SelectionEnd().line, 39);
}

TEST(SelectionTest, CursorAndClicksOnLinksAndTheRightButton) {
  ViewHarness h;
  std::vector<std::string> followed;  // sound and image links
  std::string status;
  int menus = 0;
  const auto follow = [&](const std::string& m) { followed.push_back(m); };
  QObject::connect(h.view.get(), &TTextView::imageLinkFollowed, follow);
  QObject::connect(h.view.get(), &TTextView::soundLinkFollowed, follow);
  QObject::connect(h.view.get(), &TTextView::statusTextChanged,
                   [&](const std::string& s) { status = s; });
  QObject::connect(h.view.get(), &TTextView::contextMenuRequested, [&](QPoint) { ++menus; });
  const std::string sound = std::string{'\x02', '\x30'} + "S01000100000200";
  const std::string none = std::string{'\x02', '\x22'} + "D";
  const std::string picture = std::string{'\x02', '\x2E'} + "G000000050010";
  h.ShowMarked("\x01sound" + sound + " after\n\x01none" + none + "\n\x01pict" + picture +
               "\nplain\n");
  const int cw = h.fonts.Set(0).cw;
  const int lh = h.view->LineHeight();
  auto at = [&](int line, int column) {
    return QPoint(4 + column * cw + cw / 2, line * lh + lh / 2);
  };
  EXPECT_TRUE(h.view->HitTest(at(0, 1).x(), at(0, 1).y(), false).onLink);
  EXPECT_EQ(h.pane.viewport()->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_FALSE(h.view->HitTest(at(0, 1).x(), at(0, 1).y(), true).onLink);
  EXPECT_EQ(h.pane.viewport()->cursor().shape(), Qt::IBeamCursor);
  EXPECT_FALSE(h.view->HitTest(at(3, 1).x(), at(3, 1).y(), false).onLink);
  // The right button selects the word and opens the menu.
  h.Mouse(QEvent::MouseButtonPress, at(0, 8), Qt::RightButton);
  EXPECT_EQ(h.view->SelectionText(false), "after");
  EXPECT_EQ(menus, 1);
  h.Click(at(0, 1));
  EXPECT_EQ(status, " after\r");
  h.Click(at(1, 1));
  EXPECT_EQ(h.beeps, 1);
  h.Click(at(2, 1));
  EXPECT_EQ(followed, (std::vector<std::string>{sound, picture}));
  // With Ctrl held a click on link text starts a selection instead.
  h.Mouse(QEvent::MouseButtonPress, at(0, 1), Qt::LeftButton, Qt::ControlModifier);
  h.Mouse(QEvent::MouseMove, at(0, 4), Qt::LeftButton, Qt::ControlModifier);
  h.Mouse(QEvent::MouseButtonRelease, at(0, 4), Qt::LeftButton, Qt::ControlModifier);
  EXPECT_EQ(followed.size(), 2u);
  EXPECT_EQ(h.view->SelectionText(false), "oun");
}

TEST(LinkTest, ClickingAReferenceShowsTheTargetEntryOfARealBook) {
  MORVA_REQUIRE_SHARED_BOOKS();
  for (bool continuous : {false, true}) {
    ViewSettings settings = testing::TestSettings();
    settings.scroll = continuous;
    ViewHarness h(settings, {600, 400}, testing::SharedBooks() / "edict-small");
    ASSERT_TRUE(h.selected);
    // Entry 62 (１０００万) links to entry 242102 (text positions of the
    // book's answer key).
    const BookAddress from{2, 102};
    const BookAddress to{367, 112};
    if (!continuous) TContent(h.disk).FormatItem(ViewHarness::kRow, from);
    h.view->Show(ViewHarness::kRow, from.page, from.offset);
    h.Process();
    // Find the link on screen by hit testing along the lines.
    QPoint click(-1, -1);
    const int lh = h.view->LineHeight();
    for (int line = 0; line < 4 && click.x() < 0; ++line)
      for (int x = 0; x < 600 && click.x() < 0; x += 3)
        if (h.view->HitTest(x, line * lh + lh / 2, false).onLink)
          click = QPoint(x + 10, line * lh + lh / 2);
    ASSERT_GE(click.x(), 0);
    h.Click(click);
    h.Process();
    EXPECT_EQ(h.view->ShownAddress(), to) << continuous;
    EXPECT_EQ(h.view->history().Count(), 1);
    const std::string first(h.view->brows().GetLine(0).text);
    EXPECT_NE(first.find(J("ばんこくちょさくけんじょうやく")), std::string::npos) << continuous;
    h.view->Back();
    EXPECT_EQ(h.view->ShownAddress(), from);
  }
}

}  // namespace
}  // namespace morva
