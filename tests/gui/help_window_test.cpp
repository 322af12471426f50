// The help window: the pages are built in, every topic named by the dialogs
// and the menus has its anchor, and the topic finder filters by keyword.
#include "app/help/help_window.h"

#include <gtest/gtest.h>

#include <QFile>

namespace morva {
namespace {

TEST(HelpWindow, EveryTopicHasItsAnchorInABuiltInPage) {
  for (const char* name : {"SakuinKensaku", "Group", "OptionKensaku", "OptionHyoji",
                           "OptionClipboard", "OptionNyushuturyoku"})
    EXPECT_FALSE(HelpWindow::TopicUrl(QLatin1String(name)).isEmpty()) << name;
  for (const HelpTopic& t : HelpWindow::Topics()) {
    QFile page(QStringLiteral(":/help/") + QLatin1String(t.page));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << t.page;
    EXPECT_TRUE(
        QString::fromUtf8(page.readAll()).contains(QStringLiteral("name=\"%1\"").arg(t.name)))
        << t.name;
  }
  EXPECT_TRUE(HelpWindow::TopicUrl(QStringLiteral("NoSuchTopic")).isEmpty());
  EXPECT_EQ(HelpWindow::FileFromName("C:\\MORVA\\morvatitle.hlp"), HelpFile::kTitles);
  EXPECT_EQ(HelpWindow::FileFromName("/x/MORVA.HLP"), HelpFile::kMorva);
  // The finder filters the topics by every keyword.
  EXPECT_EQ(HelpWindow::FindTopics(HelpFile::kMorva, QString::fromUtf8("オプション 色")),
            QStringList{QStringLiteral("OptionHyoji")});
  EXPECT_TRUE(HelpWindow::FindTopics(HelpFile::kMorva, QStringLiteral("zzzz")).isEmpty());
}

}  // namespace
}  // namespace morva
