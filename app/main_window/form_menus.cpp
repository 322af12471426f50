// TMorvaForm: the main menu, the content view's context menu (PopupMenu1) and
// the word list's sort menu (PopupMenuSort), with the system's item names,
// captions, access keys and shortcuts.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "app/book_bar/book_bar_widget.h"
#include "app/main_window/tmorva_form.h"
#include "app/main_window/word_grid.h"
#include "view/ttextview.h"

namespace morva {

QAction* TMorvaForm::AddAction(QMenu* menu, const char* name, const QString& caption,
                               const QKeySequence& shortcut) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  if (!shortcut.isEmpty()) {
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
  }
  return action;
}

void TMorvaForm::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));

  // ﾌｧｲﾙ(&F)
  QMenu* file = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
  file->setObjectName(QStringLiteral("File1"));
  connect(AddAction(file, "OpenFolder", QStringLiteral("辞書ﾌｫﾙﾀﾞを開く(&O)..."),
                    QKeySequence(QStringLiteral("Ctrl+O"))),
          &QAction::triggered, this, &TMorvaForm::folderOpenRequested);
  cds1_ = AddAction(file, "CDS1", QStringLiteral("ﾄﾞﾗｲﾌﾞをｻｰﾁする(&S)..."));
  connect(cds1_, &QAction::triggered, this, &TMorvaForm::driveSearchRequested);
  file->addSeparator();
  connect(AddAction(file, "Exit1", QStringLiteral("終了(&X)")), &QAction::triggered, this,
          &QWidget::close);

  // 編集(&E)
  QMenu* edit = bar->addMenu(QStringLiteral("編集(&E)"));
  edit->setObjectName(QStringLiteral("Edit1"));
  connect(
      AddAction(edit, "Copy1", QStringLiteral("ｺﾋﾟｰ(&C)"), QKeySequence(QStringLiteral("Ctrl+C"))),
      &QAction::triggered, this, [this] { CopyCommand(); });
  connect(AddAction(edit, "Paste1", QStringLiteral("貼り付け(&P)"),
                    QKeySequence(QStringLiteral("Ctrl+V"))),
          &QAction::triggered, this, [this] { PasteCommand(); });
  connect(AddAction(edit, "MenuCopyContent", QStringLiteral("項目内容をｺﾋﾟｰ(&A)"),
                    QKeySequence(QStringLiteral("Ctrl+A"))),
          &QAction::triggered, this, [this] { CopyContent(); });
  connect(AddAction(edit, "Editor", QStringLiteral("ｴﾃﾞｨﾀ起動(&E)...")), &QAction::triggered, this,
          &TMorvaForm::editorRequested);
  edit->addSeparator();
  connect(AddAction(edit, "SearchContent", QStringLiteral("項目内容を検索(&F)..."),
                    QKeySequence(QStringLiteral("Ctrl+F"))),
          &QAction::triggered, this, [this] { SearchContentClick(); });
  connect(AddAction(edit, "FindNext1", QStringLiteral("次を検索(&S)"), QKeySequence(Qt::Key_F3)),
          &QAction::triggered, this, [this] { FindNext(); });

  // 表示(&V)
  QMenu* show = bar->addMenu(QStringLiteral("表示(&V)"));
  show->setObjectName(QStringLiteral("View1"));
  auto* layouts = new QActionGroup(this);
  const char* layoutNames[] = {"MenuCondAndContent", "MenuCondition", "MenuContent"};
  const QString layoutCaptions[] = {QStringLiteral("条件・内容ｳｨﾝﾄﾞｳ(&W)"),
                                    QStringLiteral("条件ｳｨﾝﾄﾞｳ(&K)"),
                                    QStringLiteral("内容ｳｨﾝﾄﾞｳ(&C)")};
  for (int tag = 0; tag < 3; ++tag) {
    QAction* item = AddAction(show, layoutNames[tag], layoutCaptions[tag]);
    item->setCheckable(true);
    item->setData(tag);
    layouts->addAction(item);
    layoutItems_[static_cast<size_t>(tag)] = item;
    connect(item, &QAction::triggered, this, [this, tag] { SetWindowLayout(tag); });
  }
  show->addSeparator();
  connect(AddAction(show, "Dump", QStringLiteral("ﾊﾞｲﾅﾘﾀﾞﾝﾌﾟ(&D)")), &QAction::triggered, this,
          &TMorvaForm::dumpRequested);
  show->addSeparator();
  menuSeq_ = AddAction(show, "MenuSeq", QStringLiteral("連続表示(&M)"));
  menuSeq_->setCheckable(true);
  connect(menuSeq_, &QAction::triggered, this, [this] { MenuSeqClick(); });
  menuDicBar_ = AddAction(show, "MenuDicBar", QStringLiteral("辞書名ﾊﾞｰ(&N)"));
  menuDicBar_->setCheckable(true);
  connect(menuDicBar_, &QAction::triggered, this, [this] {
    settings_.dicBar = menuDicBar_->isChecked();
    RefreshLayout();
  });
  menuMode_ = AddAction(show, "MenuMode", QStringLiteral("表示ﾓｰﾄﾞ切替ﾎﾞﾀﾝ(&B)"));
  menuMode_->setCheckable(true);
  connect(menuMode_, &QAction::triggered, this, [this] {
    settings_.modeButton = menuMode_->isChecked();
    RefreshLayout();
  });

  // ﾂｰﾙ(&T)
  QMenu* tools = bar->addMenu(QStringLiteral("ﾂｰﾙ(&T)"));
  tools->setObjectName(QStringLiteral("Tool1"));
  auto* tabs = new QActionGroup(this);
  const char* tabNames[] = {"MenuIndex", "MenuMulti", "MenuMenu", "MenuGeneral"};
  const QString tabCaptions[] = {QStringLiteral("索引検索(&I)"), QStringLiteral("複合検索(&M)"),
                                 QStringLiteral("ﾒﾆｭｰ検索(&N)"), QStringLiteral("総合検索(&G)")};
  const char* tabKeys[] = {"Ctrl+I", "Ctrl+U", "Ctrl+N", "Ctrl+G"};
  for (int tag = 0; tag < 4; ++tag) {
    QAction* item = AddAction(tools, tabNames[tag], tabCaptions[tag],
                              QKeySequence(QString::fromLatin1(tabKeys[tag])));
    item->setCheckable(true);
    item->setData(tag);
    tabs->addAction(item);
    tabItems_[static_cast<size_t>(tag)] = item;
    connect(item, &QAction::triggered, this, [this, tag] { ToolTabItem(tag); });
  }
  tabItems_[kIndexTab]->setChecked(true);
  tools->addSeparator();
  menuBack_ = AddAction(tools, "MenuBack", QStringLiteral("後退(&B)"),
                        QKeySequence(QStringLiteral("Ctrl+B")));
  menuBack_->setEnabled(false);
  connect(menuBack_, &QAction::triggered, this, [this] { Back(); });
  tools->addSeparator();
  connect(AddAction(tools, "MenuEditDicInfo", QStringLiteral("辞書個別指定(&E)...")),
          &QAction::triggered, this, &TMorvaForm::dicInfoEditRequested);
  connect(AddAction(tools, "Option1", QStringLiteral("ｵﾌﾟｼｮﾝ(&T)...")), &QAction::triggered, this,
          &TMorvaForm::optionsRequested);

  // 辞書(&B): filled when a group is loaded.
  menuDic_ = bar->addMenu(QStringLiteral("辞書(&B)"));
  menuDic_->setObjectName(QStringLiteral("MenuDic"));

  // ｸﾞﾙｰﾌﾟ(&G)
  menuGroup_ = bar->addMenu(QStringLiteral("ｸﾞﾙｰﾌﾟ(&G)"));
  menuGroup_->setObjectName(QStringLiteral("MenuGroup"));
  editGroupAction_ = AddAction(menuGroup_, "E1", QStringLiteral("辞書ｸﾞﾙｰﾌﾟを編集する(&E)..."));
  connect(editGroupAction_, &QAction::triggered, this, &TMorvaForm::groupEditRequested);

  // ﾍﾙﾌﾟ(&H)
  QMenu* help = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
  help->setObjectName(QStringLiteral("Help1"));
  QAction* contents =
      AddAction(help, "Contents1", QStringLiteral("目次(&C)"), QKeySequence(Qt::Key_F1));
  contents->setData(0);
  connect(contents, &QAction::triggered, this, [this] {
    currentHelpFile_ = helpFile_;
    emit helpContentsRequested(currentHelpFile_);
  });
  connect(AddAction(help, "SearchforHelp", QStringLiteral("ﾄﾋﾟｯｸの検索(&S)")), &QAction::triggered,
          this, [this] { emit helpFinderRequested(currentHelpFile_); });
  QAction* titles = AddAction(help, "CDTitleHelp", QStringLiteral("動作確認CD-ROMｶﾀﾛｸﾞ(&T)"));
  titles->setData(1);
  connect(titles, &QAction::triggered, this, [this] {
    currentHelpFile_ = titleHelpFile_;
    emit helpContentsRequested(currentHelpFile_);
  });
  help->addSeparator();
  connect(AddAction(help, "About1", QStringLiteral("Morvaについて(&A)...")), &QAction::triggered,
          this, &TMorvaForm::aboutRequested);

  // PopupMenu1: the content view's context menu.
  popupMenu1_ = new QMenu(this);
  popupMenu1_->setObjectName(QStringLiteral("PopupMenu1"));
  connect(AddAction(popupMenu1_, "N3", QStringLiteral("画面語検索")), &QAction::triggered, this,
          [this] { ScreenWordSearch(false); });
  connect(AddAction(popupMenu1_, "GamengoJoken", QStringLiteral("画面語条件検索")),
          &QAction::triggered, this, [this] { ScreenWordSearch(true); });
  connect(AddAction(popupMenu1_, "Copy2", QStringLiteral("ｺﾋﾟｰ")), &QAction::triggered, this,
          [this] { CopyContent(); });
  popupMenu1_->addSeparator();
  connect(AddAction(popupMenu1_, "N11", QStringLiteral("ﾄﾞﾗｲﾌﾞをｻｰﾁする...")), &QAction::triggered,
          this, &TMorvaForm::driveSearchRequested);

  // PopupMenuSort: the word list's order.
  popupMenuSort_ = new QMenu(this);
  popupMenuSort_->setObjectName(QStringLiteral("PopupMenuSort"));
  const char* sortNames[] = {"MenuByAddress", "MenuByName"};
  const QString sortCaptions[] = {QStringLiteral("格納順に並べ替え(&A)"),
                                  QStringLiteral("項目名順に並べ替え(&N)")};
  for (int tag = 0; tag < 2; ++tag) {
    QAction* item = AddAction(popupMenuSort_, sortNames[tag], sortCaptions[tag]);
    item->setCheckable(true);
    item->setData(tag);
    sortItems_[static_cast<size_t>(tag)] = item;
    connect(item, &QAction::triggered, this, [this, tag] { SortBy(tag); });
  }
  drawGrid1_->SetPopupMenu(popupMenuSort_);
}

}  // namespace morva
