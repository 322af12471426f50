// The help window: the pages are built in, every topic named by the dialogs
// and the menus has its anchor, and the topic finder filters by keyword.
#include "app/help/help_window.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>

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
}

TEST(HelpWindow, TopicsAndTheFinderFilteringByKeyword) {
  HelpWindow help;
  help.ShowTopic(QStringLiteral("OptionClipboard"));
  EXPECT_TRUE(help.browser()->toPlainText().contains(QString::fromUtf8("クリップボード自動検索")));
  help.ShowContents(HelpFile::kTitles);
  EXPECT_TRUE(help.browser()->toPlainText().contains(QString::fromUtf8("動作確認済みの辞書")));
  help.ShowTopic(QStringLiteral("Unknown"));
  EXPECT_EQ(help.currentUrl(), HelpWindow::ContentsUrl(HelpFile::kTitles));

  EXPECT_EQ(HelpWindow::FindTopics(HelpFile::kMorva, QString::fromUtf8("オプション 色")),
            QStringList{QStringLiteral("OptionHyoji")});
  EXPECT_EQ(HelpWindow::FindTopics(HelpFile::kMorva, QStringLiteral("sakuin")),
            QStringList{QStringLiteral("SakuinKensaku")});
  EXPECT_TRUE(HelpWindow::FindTopics(HelpFile::kMorva, QStringLiteral("zzzz")).isEmpty());
  help.ShowContents(HelpFile::kMorva);
  help.ShowFinder();
  auto* keyword = help.findChild<QLineEdit*>(QStringLiteral("Keyword"));
  auto* list = help.findChild<QListWidget*>(QStringLiteral("TopicList"));
  EXPECT_GT(list->count(), 10);
  keyword->setText(QString::fromUtf8("画像"));
  ASSERT_EQ(list->count(), 1);
  emit keyword->returnPressed();
  EXPECT_EQ(help.currentUrl().fragment(), QStringLiteral("Gazo"));
  help.hide();
}

}  // namespace
}  // namespace morva
