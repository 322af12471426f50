// The help window: the pages are built in, every topic named by the dialogs
// and the menus has its anchor, and the topic finder filters by keyword.
#include "app/help/help_window.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>
#include <QTextDocument>

namespace morva {
namespace {

QString PageText(const QString& page) {
  QFile f(QStringLiteral(":/help/") + page);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

TEST(HelpWindow, EveryTopicHasItsAnchorInABuiltInPage) {
  for (const char* name : {"SakuinKensaku", "Group", "OptionKensaku", "OptionHyoji",
                           "OptionClipboard", "OptionNyushuturyoku"})
    EXPECT_FALSE(HelpWindow::TopicUrl(QLatin1String(name)).isEmpty()) << name;
  for (const HelpTopic& t : HelpWindow::Topics()) {
    const QString text = PageText(QLatin1String(t.page));
    ASSERT_FALSE(text.isEmpty()) << t.page;
    EXPECT_TRUE(text.contains(QStringLiteral("name=\"%1\"").arg(QLatin1String(t.name)))) << t.name;
  }
  EXPECT_TRUE(HelpWindow::TopicUrl(QStringLiteral("NoSuchTopic")).isEmpty());
  EXPECT_EQ(HelpWindow::FileFromName("/home/u/.config/morva/MORVATITLE.HLP"), HelpFile::kTitles);
  EXPECT_EQ(HelpWindow::FileFromName("C:\\MORVA\\morvatitle.hlp"), HelpFile::kTitles);
  EXPECT_EQ(HelpWindow::FileFromName("/x/MORVA.HLP"), HelpFile::kMorva);
  EXPECT_FALSE(PageText(QStringLiteral("morva.html")).isEmpty());
  EXPECT_TRUE(PageText(QStringLiteral("morvatitle.html")).contains(QStringLiteral("catalogs")));
}

TEST(HelpWindow, ContentsTopicsAndTheCurrentFile) {
  HelpWindow help;
  help.ShowContents(HelpFile::kMorva);
  EXPECT_EQ(help.currentUrl(), HelpWindow::ContentsUrl(HelpFile::kMorva));
  EXPECT_TRUE(help.browser()->toPlainText().contains(QString::fromUtf8("Morva ヘルプ 目次")));
  help.ShowTopic(QStringLiteral("OptionClipboard"));
  EXPECT_EQ(help.currentUrl().fragment(), QStringLiteral("OptionClipboard"));
  EXPECT_TRUE(help.browser()->toPlainText().contains(QString::fromUtf8("クリップボード自動検索")));
  help.ShowContents(HelpFile::kTitles);
  EXPECT_EQ(help.currentFile(), HelpFile::kTitles);
  EXPECT_TRUE(help.browser()->toPlainText().contains(QString::fromUtf8("動作確認済みの辞書")));
  help.ShowTopic(QStringLiteral("Unknown"));
  EXPECT_EQ(help.currentUrl(), HelpWindow::ContentsUrl(HelpFile::kTitles));
  help.hide();
}

TEST(HelpWindow, FinderFiltersTopicsByKeyword) {
  EXPECT_EQ(HelpWindow::FindTopics(HelpFile::kMorva, QString::fromUtf8("クリップボード")),
            (QStringList{QStringLiteral("Copy"), QStringLiteral("OptionClipboard")}));
  EXPECT_EQ(HelpWindow::FindTopics(HelpFile::kMorva, QString::fromUtf8("オプション 色")),
            QStringList{QStringLiteral("OptionHyoji")});
  EXPECT_EQ(HelpWindow::FindTopics(HelpFile::kMorva, QStringLiteral("sakuin")),
            QStringList{QStringLiteral("SakuinKensaku")});
  EXPECT_EQ(HelpWindow::FindTopics(HelpFile::kTitles, QString()).size(), 1);
  EXPECT_TRUE(HelpWindow::FindTopics(HelpFile::kMorva, QStringLiteral("zzzz")).isEmpty());

  HelpWindow help;
  help.ShowFinder();
  auto* keyword = help.findChild<QLineEdit*>(QStringLiteral("Keyword"));
  auto* list = help.findChild<QListWidget*>(QStringLiteral("TopicList"));
  ASSERT_TRUE(keyword && list);
  EXPECT_GT(list->count(), 10);
  keyword->setText(QString::fromUtf8("画像"));
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->item(0)->text(), QString::fromUtf8("画像の表示・印刷・保存"));
  emit keyword->returnPressed();
  EXPECT_EQ(help.currentUrl().fragment(), QStringLiteral("Gazo"));
  help.hide();
}

}  // namespace
}  // namespace morva
