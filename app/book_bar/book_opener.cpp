#include "app/book_bar/book_opener.h"

#include <QVariant>
#include <QWidget>

#include "engine/book/report.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/search/compound.h"

namespace morva {

BookTabs TabsOfCurrentBook(TDisk& disk) {
  BookTabs tabs;
  for (int r = 0; r < IndexKindTable::kRows; ++r) {
    const IndexKindRow& row = disk.subbook().indexes.Row(r);
    if (row.start != 0 && (row.inputClass & kKeyedIndex) != 0 && row.code != 0xFF) {
      tabs.index = true;
      break;
    }
  }
  tabs.compound = CompoundSearchCount(disk) > 0;
  tabs.menu = disk.subbook().indexes.Has(0x01);
  return tabs;
}

int ChooseTab(const BookTabs& tabs, int preferredTab) {
  switch (preferredTab) {
    case kIndexTab:
      if (tabs.index) return kIndexTab;
      break;
    case kMultiTab:
      if (tabs.compound) return kMultiTab;
      break;
    case kMenuTab:
      if (tabs.menu) return kMenuTab;
      break;
    case kGeneralTab: return kGeneralTab;
    default: break;
  }
  if (tabs.index) return kIndexTab;
  if (tabs.compound) return kMultiTab;
  if (tabs.menu) return kMenuTab;
  // A book that offers none of them (or none that opened) keeps the 索引 tab,
  // so the window does not land in the full-text search unasked.
  return kIndexTab;
}

std::string MissingVolumeMessage(const std::string& locationSjis) {
  static const std::string format = Sjis("ﾄﾞﾗｲﾌﾞ %s に辞書が入っていません。");
  return Format(format.c_str(), locationSjis.c_str());
}

int OpenBook(TDisk& disk, BookBar& bar, int& currentBook, int index, int preferredTab,
             const OpenBookFaces& faces, BookOpenView& view, Reporter& reporter) {
  const int count = static_cast<int>(bar.size());
  if (index == -1) index = 1;
  currentBook = -1;
  if (index < 0 || index >= count || bar[static_cast<size_t>(index)].IsSeparator()) return -1;

  const bool opened = disk.SelectSubbook(index);
  BookTabs tabs = opened ? TabsOfCurrentBook(disk) : BookTabs{};
  if (!tabs.index && !tabs.compound && !tabs.menu) tabs.index = true;
  view.ShowSearchTabs(tabs);
  const int tab = ChooseTab(tabs, preferredTab);

  view.SetSearchBoxFace(opened && disk.SingleByteBook() ? faces.font1Face : faces.font0Face);
  view.SetSearchBoxImeMode(opened ? disk.subbook().imeMode : -1);

  currentBook = opened ? index : -1;
  view.ActivateTab(tab);

  if (!opened) {
    reporter.Warning(MissingVolumeMessage(bar[static_cast<size_t>(index)].location));
    return -1;
  }
  view.CheckDicMenuItem(index);
  if (view.WordListEmpty()) view.ShowTitlePage();
  view.ScrollBarToCell(index);
  return index;
}

void SelectBook(SelectBookHost& host, const BookBar& bar, int entry) {
  if (entry < 0 || entry >= static_cast<int>(bar.size())) return;
  if (!bar[static_cast<size_t>(entry)].IsSeparator() && entry != host.CurrentBook())
    host.OpenBook(entry, host.ActiveTab());
  if (host.ActiveTab() == kIndexTab && !host.SearchBoxEmpty()) host.RunSearch(entry);
}

void ApplyImeMode(QWidget& searchBox, int mode) {
  searchBox.setProperty("morvaImeMode", mode);
  Qt::InputMethodHints hints = searchBox.inputMethodHints();
  if (mode == 0) hints |= Qt::ImhPreferLatin;
  else if (mode == 1) hints &= ~Qt::ImhPreferLatin;
  else return;
  searchBox.setInputMethodHints(hints);
}

}  // namespace morva
