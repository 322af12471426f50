#include "app/book_bar/dic_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "engine/text/unicode.h"
#include "view/qt_conversions.h"

namespace morva {

QString DicMenuCaption(int k, std::string_view titleSjis) {
  const QString title = QStringFromSjis(titleSjis);
  if (k < 10) return QStringLiteral("&%1 %2").arg((k + 1) % 10).arg(title);
  return QStringLiteral("  ") + title;
}

void ClearDicMenu(QMenu& menu) {
  // The exclusive group is a child of the menu; it goes with the actions.
  for (QActionGroup* group : menu.findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly))
    delete group;
  menu.clear();
}

void FillDicMenu(QMenu& menu, const std::vector<DicMenuItem>& items,
                 std::function<void(int entry)> onChoose) {
  ClearDicMenu(menu);
  auto* group = new QActionGroup(&menu);
  group->setExclusive(true);
  int k = 0;
  for (const DicMenuItem& item : items) {
    QAction* action = menu.addAction(DicMenuCaption(k++, item.title));
    action->setCheckable(true);
    action->setData(item.entry);
    group->addAction(action);
    const int entry = item.entry;
    QObject::connect(action, &QAction::triggered, &menu, [onChoose, entry] {
      if (onChoose) onChoose(entry);
    });
  }
}

void CheckDicMenuItem(QMenu& menu, int entry) {
  // Lift the exclusion for a moment so that no item may stay checked.
  const auto groups = menu.findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly);
  for (QActionGroup* group : groups) group->setExclusive(false);
  for (QAction* action : menu.actions()) {
    if (action->isCheckable()) action->setChecked(action->data().toInt() == entry);
  }
  for (QActionGroup* group : groups) group->setExclusive(true);
}

}  // namespace morva
