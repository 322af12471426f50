// The progress box: one at a time, the owner disabled while it is open, the
// cancel button, Escape and the close button setting the cancelled flag.
#include "app/search_windows/tprogress.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "engine/book/text_utils.h"

namespace morva {
namespace {

TEST(TProgressTest, OneBoxOverTheDisabledOwnerThatCancelsInsteadOfClosing) {
  QWidget owner;
  owner.setGeometry(100, 100, 500, 400);
  owner.show();
  TProgress progress(&owner);
  progress.Open("first", 10);
  progress.Open(Sjis("全文検索中"), 1000);
  const QList<QDialog*> boxes = owner.findChildren<QDialog*>();
  ASSERT_EQ(boxes.size(), 1);
  QDialog* box = progress.Box();
  EXPECT_FALSE(owner.isEnabled());
  EXPECT_TRUE(box->isEnabled() && box->isVisible());
  // Centred over the owner.
  EXPECT_LE((box->frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 4);
  EXPECT_FALSE(progress.Step(250));
  progress.Step(5000);  // beyond the maximum: the bar stays full
  EXPECT_EQ(progress.Position(), 1000);
  // The caption and the bar follow the latest steps once input is processed.
  progress.SetCaption(Sjis("全文検索中(3件該当)"));
  const auto* bar = box->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
  EXPECT_TRUE(QTest::qWaitFor([&] {
    progress.Step(7);
    return box->windowTitle() == QStringLiteral("全文検索中(3件該当)") && bar->value() == 7;
  }));

  // The cancel button, Escape and the close button cancel; the box stays
  // until the operation closes it, every step reporting the cancel.
  for (const int how : {0, 1, 2}) {
    SCOPED_TRACE(how);
    progress.Open("a", 10);
    EXPECT_FALSE(progress.Cancelled());
    if (how == 0)
      QTest::mouseClick(progress.Box()->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    else if (how == 1) QTest::keyClick(progress.Box(), Qt::Key_Escape);
    else EXPECT_FALSE(progress.Box()->close());
    EXPECT_TRUE(progress.Cancelled());
    EXPECT_TRUE(owner.isEnabled() || how != 0);
    EXPECT_TRUE(progress.IsOpen());
    EXPECT_TRUE(progress.Step(1));
  }
  // Closing twice is harmless; destroying a TProgress closes its box.
  progress.Close();
  progress.Close();
  EXPECT_TRUE(owner.isEnabled());
  {
    TProgress other(&owner);
    other.Open("third", 10);
  }
  EXPECT_TRUE(owner.isEnabled());
  EXPECT_TRUE(owner.findChildren<QDialog*>().isEmpty());
}

}  // namespace
}  // namespace morva
