#include "app/search_windows/compound_tab.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>

#include "engine/search/candidate_list.h"
#include "engine/text/unicode.h"
#include "view/multi_refer/tmulti_refer.h"
#include "view/qt_conversions.h"

namespace morva {
namespace {

// Labels and values may hold external-character markers; text widgets show
// them as low lines, as a chosen candidate's text does.
QString Shown(std::string_view sjis) { return QStringFromSjis(CandidateDisplayText(sjis)); }

constexpr int kPairGap = 2;
constexpr int kButtonGap = 6;
constexpr int kFieldMargin = 14;
constexpr int kButtonMargin = 13;

}  // namespace

CompoundTab::CompoundTab(CompoundSearch& search, TMultiRefer& refer,
                         const CompoundTabWidgets& widgets, QObject* parent)
    : QObject(parent), search_(search), refer_(refer), w_(widgets) {
  for (int f = 0; f < CompoundSearch::kMaxFields; ++f) {
    QLineEdit* edit = w_.edits[static_cast<size_t>(f)];
    if (edit == nullptr) continue;
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this,
            [this, f](const QString& text) { FieldEdited(f, text); });
  }
  if (w_.upDown != nullptr) {
    w_.upDown->setWrapping(true);
    w_.upDown->setRange(0, 0);
    w_.upDown->setToolTip(QStringLiteral("別の複合検索"));
    connect(w_.upDown, &QSpinBox::valueChanged, this, &CompoundTab::UpDownChanged);
  }
  connect(&refer_, &TMultiRefer::valueChosen, this, &CompoundTab::CandidateChosen);
}

void CompoundTab::TabShown() {
  search_.Reset();
  LoadForm(0);
}

void CompoundTab::TabLeft() { refer_.HideList(); }

void CompoundTab::StepForm() {
  const int count = search_.Count();
  if (count <= 0) return;
  const int next = (std::max(0, search_.Loaded()) + 1) % count;
  if (w_.upDown != nullptr && w_.upDown->value() != next) {
    w_.upDown->setValue(next);  // loads through UpDownChanged
  } else {
    LoadForm(next);
  }
}

void CompoundTab::UpDownChanged(int position) {
  if (position != search_.Loaded()) LoadForm(position);
}

void CompoundTab::LoadForm(int number) {
  const int before = search_.Loaded();
  const CompoundSearch::LoadResult result = search_.Load(number);
  const bool reloaded = before != search_.Loaded() || before != number;
  if (w_.upDown != nullptr) {
    // Setting the range and position is no step of the user's.
    const QSignalBlocker block(w_.upDown);
    w_.upDown->setRange(0, std::max(0, search_.Count() - 1));
    w_.upDown->setValue(std::max(0, search_.Loaded()));
  }
  if (reloaded) {
    for (int f = 0; f < CompoundSearch::kMaxFields; ++f) {
      if (QLineEdit* edit = w_.edits[static_cast<size_t>(f)]) edit->clear();
    }
  }
  ShowFields();
  emit statusChanged(result.status);
  // Loading entered field 1.
  EnterField(0);
}

void CompoundTab::ShowFields() {
  for (int f = 0; f < CompoundSearch::kMaxFields; ++f) {
    const CompoundSearch::Field& field = search_.field(f);
    QLabel* label = w_.labels[static_cast<size_t>(f)];
    QLineEdit* edit = w_.edits[static_cast<size_t>(f)];
    if (label != nullptr) {
      label->setText(Shown(field.label));
      label->setVisible(field.exists);
    }
    if (edit != nullptr) edit->setVisible(field.exists);
  }
  if (isSignalConnected(QMetaMethod::fromSignal(&CompoundTab::rowsChanged))) {
    emit rowsChanged();
  } else {
    PlaceSearchButton();
  }
}

void CompoundTab::EnterField(int f) {
  const CompoundSearch::FieldEntry entry = search_.EnterField(f);
  Highlight(search_.CurrentField());
  if (!entry.showCandidates) {
    refer_.HideList();
    return;
  }
  if (refer_.Field() == f && refer_.isVisible()) {
    // Already showing this field: it only returns to the top list.
    refer_.Reload();
    return;
  }
  QLineEdit* edit = w_.edits[static_cast<size_t>(f)];
  if (edit != nullptr && edit->isVisible())
    refer_.move(edit->mapToGlobal(QPoint(0, edit->height())));
  refer_.ShowList(f, Shown(entry.caption));
}

void CompoundTab::Highlight(int current) {
  const QPalette& app = QApplication::palette();
  for (int f = 0; f < CompoundSearch::kMaxFields; ++f) {
    QLineEdit* edit = w_.edits[static_cast<size_t>(f)];
    if (edit == nullptr) continue;
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, app.color(f == current ? QPalette::Base : QPalette::Button));
    edit->setPalette(palette);
  }
}

void CompoundTab::FieldEdited(int f, const QString& text) {
  search_.SetFieldText(f, SjisFromQString(text));
}

void CompoundTab::CandidateChosen(int f) {
  if (f < 0 || f >= CompoundSearch::kMaxFields) return;
  // Set by the program, so the field does not count as typed into.
  if (QLineEdit* edit = w_.edits[static_cast<size_t>(f)])
    edit->setText(QStringFromSjis(search_.field(f).text));
}

std::string CompoundTab::BuildQuery() {
  refer_.HideList();
  return search_.BuildQuery();
}

void CompoundTab::Clear() {
  refer_.HideList();
  for (int f = 0; f < CompoundSearch::kMaxFields; ++f) {
    if (QLineEdit* edit = w_.edits[static_cast<size_t>(f)]) edit->clear();
    search_.SetFieldText(f, {});
  }
}

void CompoundTab::LayOut(const QFont& font, int charHeight) {
  charHeight = std::max(1, charHeight);
  QLabel* first = w_.labels[0];
  if (first == nullptr) return;
  QFont fieldFont = font;
  fieldFont.setPixelSize(charHeight);
  const int height = charHeight + 4;
  const int x = first->x();
  int y = first->y();
  for (int f = 0; f < CompoundSearch::kMaxFields; ++f) {
    for (QWidget* widget : {static_cast<QWidget*>(w_.labels[static_cast<size_t>(f)]),
                            static_cast<QWidget*>(w_.edits[static_cast<size_t>(f)])}) {
      if (widget == nullptr) continue;
      widget->setFont(fieldFont);
      widget->setGeometry(x, y, widget->width(), height);
      y += height;
    }
    y += kPairGap;
  }
  PlaceSearchButton();
}

void CompoundTab::Resize(int paneWidth) {
  const int width = std::max(1, paneWidth - kFieldMargin);
  for (int f = 0; f < CompoundSearch::kMaxFields; ++f) {
    for (QWidget* widget : {static_cast<QWidget*>(w_.labels[static_cast<size_t>(f)]),
                            static_cast<QWidget*>(w_.edits[static_cast<size_t>(f)])}) {
      if (widget != nullptr) widget->resize(width, widget->height());
    }
  }
  if (w_.searchButton != nullptr)
    w_.searchButton->move(std::max(0, paneWidth - kButtonMargin - w_.searchButton->width()),
                          w_.searchButton->y());
}

void CompoundTab::PlaceSearchButton() {
  int y = w_.labels[0] != nullptr ? w_.labels[0]->y() : 0;
  for (int f = 0; f < CompoundSearch::kMaxFields; ++f) {
    QLineEdit* edit = w_.edits[static_cast<size_t>(f)];
    if (edit != nullptr && search_.field(f).exists) y = edit->y() + edit->height() + kButtonGap;
  }
  if (w_.searchButton != nullptr) w_.searchButton->move(w_.searchButton->x(), y);
  if (w_.upDown != nullptr) {
    const int buttonHeight =
        w_.searchButton != nullptr ? w_.searchButton->height() : w_.upDown->height();
    const int x = w_.labels[0] != nullptr ? w_.labels[0]->x() : w_.upDown->x();
    w_.upDown->move(x, y + (buttonHeight - w_.upDown->height()) / 2);
  }
}

int CompoundTab::FieldOfEdit(const QObject* edit) const {
  for (int f = 0; f < CompoundSearch::kMaxFields; ++f) {
    if (w_.edits[static_cast<size_t>(f)] == edit) return f;
  }
  return -1;
}

bool CompoundTab::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    // Focus coming back with the window (from the candidate window, say) is
    // no new entry: it would throw a browsed nested list back to the top.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    const int f = FieldOfEdit(watched);
    if (f >= 0 && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
      EnterField(f);
  } else if (event->type() == QEvent::MouseButtonPress) {
    const int f = FieldOfEdit(watched);
    if (f >= 0 && static_cast<QWidget*>(watched)->hasFocus()) EnterField(f);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace morva
