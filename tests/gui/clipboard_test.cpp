// The clipboard watch in the main window: every AutoSearch value,
// activation, other tabs and the book's characters to leave out and ending
// rules. The program's own copies are tested with the other windows that copy.
#include <QClipboard>

#include "tests/gui/main_window_fixture.h"

namespace morva::testing {
namespace {

// ---- The watch in the main window ------------------------------------------------

class ClipboardWatchTest : public MainWindowTest {
 protected:
  // A book with ねこ (and a menu), opened with the settings and book lines.
  void OpenWith(const std::string& options, const std::string& dat = "") {
    UseBooks({{"試験", MakeBook("a", "試験", {{"ねこ", {"ねこ", "cat"}}}, true)}}, options);
    if (!dat.empty()) WriteDat(dat);
    QApplication::clipboard()->clear();  // text there at the start would be taken
    Open();
    Activate(*form_);
  }
  static void Copy(const QString& text) { QApplication::clipboard()->setText(text); }
  bool Searched() { return Status(0) == "1 項目"; }
};

// Every AutoSearch value: whether the copied word goes into the box, when it
// is searched, whether the result is copied; one activation runs one search.
TEST_F(ClipboardWatchTest, EveryAutoSearchValue) {
  const struct {
    int autoSearch;
    bool onCopy, onActivation, resultCopied;
  } cases[] = {{0, false, false, false}, {1, false, false, false}, {2, false, true, false},
               {3, false, true, true},   {4, false, false, false}, {5, true, false, false},
               {6, true, false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.autoSearch);
    OpenWith("AutoSearch=" + std::to_string(c.autoSearch));
    Copy(QStringLiteral("ねこ  "));
    EXPECT_EQ(BoxText(), c.autoSearch == 0 ? "" : "ねこ");
    EXPECT_EQ(Searched(), c.onCopy);
    Activate(*form_);
    EXPECT_EQ(Searched(), c.onCopy || c.onActivation);
    EXPECT_EQ(QApplication::clipboard()->text() != QStringLiteral("ねこ  "), c.resultCopied);
    // The search ran once: the next activation searches nothing.
    Box()->setEditText(QStringLiteral("zz"));
    Activate(*form_);
    EXPECT_EQ(Box()->findText(QStringLiteral("zz")), -1);
    Close();
  }
}

// Text of more than one word is not taken, nor the program's own copy, nor a
// copy on another tab; the book's NEGLECT= characters are removed and its
// ending set 0 applied once.
TEST_F(ClipboardWatchTest, RefusedTextsOtherTabsNeglectAndEndings) {
  OpenWith("AutoSearch=5", "[試験]\nNEGLECT=・\nENDING=s,\n");
  Copy(QStringLiteral("two words"));
  EXPECT_EQ(BoxText(), "");
  Copy(QStringLiteral("ね・こ"));
  EXPECT_EQ(BoxText(), "ねこ");
  EXPECT_TRUE(Searched());
  // The program's own copies are not taken: a word copied from the box.
  Box()->setEditText(QStringLiteral("いぬ"));
  Box()->lineEdit()->selectAll();
  QTest::keyClick(Box()->lineEdit(), Qt::Key_C, Qt::ControlModifier);
  ASSERT_EQ(QApplication::clipboard()->text(), QStringLiteral("いぬ"));
  EXPECT_TRUE(Searched());
  Copy(QStringLiteral("catss"));
  EXPECT_EQ(BoxText(), "cats");
  Action("MenuMenu")->trigger();
  Copy(QStringLiteral("いぬ"));
  EXPECT_EQ(BoxText(), "cats");
}

}  // namespace
}  // namespace morva::testing
