// The progress box: one at a time, the owner disabled while it is open, the
// cancel button and Escape setting the cancelled flag.
#include "app/search_windows/tprogress.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "engine/book/text_utils.h"

namespace morva {
namespace {

class TProgressTest : public ::testing::Test {
 protected:
  TProgressTest() {
    owner_.setGeometry(100, 100, 500, 400);
    owner_.show();
  }
  QPushButton* CancelButton() const {
    return progress_.Box()->findChild<QPushButton*>(QStringLiteral("Button1"));
  }

  QWidget owner_;
  TProgress progress_{&owner_};
};

TEST_F(TProgressTest, OpenDisablesTheOwnerAndCloseEnablesIt) {
  progress_.Open(Sjis("全文検索中"), 1000);
  ASSERT_TRUE(progress_.IsOpen());
  QDialog* box = progress_.Box();
  EXPECT_FALSE(owner_.isEnabled());
  EXPECT_TRUE(box->isEnabled());
  EXPECT_TRUE(box->isVisible());
  const auto* bar = box->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->maximum(), 1000);
  // Centred over the owner.
  EXPECT_LE((box->frameGeometry().center() - owner_.frameGeometry().center()).manhattanLength(), 4);

  EXPECT_FALSE(progress_.Step(250));
  EXPECT_EQ(progress_.Position(), 250);
  progress_.Step(5000);  // beyond the maximum: the bar stays full
  EXPECT_EQ(progress_.Position(), 1000);

  progress_.Close();
  EXPECT_FALSE(progress_.IsOpen());
  EXPECT_TRUE(owner_.isEnabled());
  EXPECT_TRUE(owner_.findChildren<QDialog*>().isEmpty());
}

TEST_F(TProgressTest, CancelButtonSetsTheFlagAndEnablesTheOwner) {
  progress_.Open("a", 10);
  QTest::mouseClick(CancelButton(), Qt::LeftButton);
  EXPECT_TRUE(progress_.Cancelled());
  EXPECT_TRUE(owner_.isEnabled());
  // The box stays until the operation closes it; every step reports the cancel.
  EXPECT_TRUE(progress_.IsOpen());
  EXPECT_TRUE(progress_.Step(1));
  progress_.Close();

  // Escape and the window's close button cancel too instead of closing.
  progress_.Open("b", 10);
  EXPECT_FALSE(progress_.Cancelled());
  QTest::keyClick(progress_.Box(), Qt::Key_Escape);
  EXPECT_TRUE(progress_.Cancelled());
  EXPECT_TRUE(progress_.IsOpen());
  progress_.Open("c", 10);
  EXPECT_FALSE(progress_.Box()->close());
  EXPECT_TRUE(progress_.Cancelled());
  progress_.Close();
}

TEST_F(TProgressTest, OnlyOneBoxAtATime) {
  progress_.Open("first", 10);
  progress_.Open("second", 20);
  const QList<QDialog*> boxes = owner_.findChildren<QDialog*>();
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_EQ(boxes.front()->windowTitle(), QStringLiteral("second"));
  EXPECT_FALSE(owner_.isEnabled());

  // Closing twice is harmless; destroying the TProgress closes its box.
  progress_.Close();
  progress_.Close();
  {
    TProgress other(&owner_);
    other.Open("third", 10);
  }
  EXPECT_TRUE(owner_.isEnabled());
  EXPECT_TRUE(owner_.findChildren<QDialog*>().isEmpty());
}

TEST_F(TProgressTest, CaptionAndBarFollowTheLatestSteps) {
  progress_.Open(Sjis("全文検索中"), 10);
  progress_.SetCaption(Sjis("全文検索中(3件該当)"));
  EXPECT_EQ(progress_.Caption(), QStringLiteral("全文検索中(3件該当)"));
  // The box shows them once input is processed.
  const auto* bar = progress_.Box()->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
  EXPECT_TRUE(QTest::qWaitFor([&] {
    progress_.Step(7);
    return progress_.Box()->windowTitle() == QStringLiteral("全文検索中(3件該当)") &&
           bar->value() == 7;
  }));
  progress_.Close();
}

}  // namespace
}  // namespace morva
