#include "app/groups/group_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QByteArray>
#include <QMenu>

#include "engine/text/unicode.h"
#include "view/qt_conversions.h"

namespace morva {

QString GroupMenuCaption(int k, std::string_view nameSjis) {
  const QString name = QStringFromSjis(nameSjis);
  if (k < 10) return QStringLiteral("&%1 %2").arg((k + 1) % 10).arg(name);
  return QStringLiteral("  ") + name;
}

void BuildGroupMenu(QMenu& menu, QAction* editAction, const std::vector<std::string>& names,
                    std::function<void(const std::string& nameSjis)> onChoose) {
  for (QAction* action : menu.actions()) {
    if (action == editAction) continue;
    menu.removeAction(action);
    if (action->parent() == &menu) delete action;
  }
  for (QActionGroup* group : menu.findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly))
    delete group;
  if (editAction && !menu.actions().contains(editAction)) menu.addAction(editAction);
  menu.addSeparator();
  auto* group = new QActionGroup(&menu);
  group->setExclusive(true);
  int k = 0;
  for (const std::string& name : names) {
    QAction* action = menu.addAction(GroupMenuCaption(k, name));
    action->setCheckable(true);
    action->setData(QByteArray::fromStdString(name));
    action->setProperty("groupIndex", k);
    group->addAction(action);
    QObject::connect(action, &QAction::triggered, &menu, [onChoose, name] {
      if (onChoose) onChoose(name);
    });
    ++k;
  }
}

void CheckGroupMenuItem(QMenu& menu, int groupIndex) {
  const auto groups = menu.findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly);
  for (QActionGroup* group : groups) group->setExclusive(false);
  for (QAction* action : menu.actions()) {
    if (!action->isCheckable()) continue;
    const QVariant index = action->property("groupIndex");
    if (index.isValid()) action->setChecked(index.toInt() == groupIndex);
  }
  for (QActionGroup* group : groups) group->setExclusive(true);
}

}  // namespace morva
