// TMorvaForm: creation, the first showing, destruction and the settings.
#include "app/main_window/tmorva_form.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "app/book_bar/book_bar_widget.h"
#include "app/clipboard/clipboard_watch.h"
#include "app/groups/group_menu.h"
#include "app/main_window/find_dialog.h"
#include "app/main_window/gui_reporter.h"
#include "app/main_window/tpanel.h"
#include "app/main_window/view_settings_of.h"
#include "app/main_window/word_grid.h"
#include "app/main_window/word_list_painter.h"
#include "app/settings/settings_store.h"
#include "engine/book/group_file.h"
#include "engine/book/tdisk.h"
#include "engine/search/wordlist.h"
#include "engine/text/unicode.h"
#include "view/qt_conversions.h"
#include "view/tmyscrollbox.h"
#include "view/ttextview.h"
#include "view/window_place.h"

namespace morva {
namespace {}  // namespace

TMorvaForm::TMorvaForm(FormOptions options, QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("MorvaForm"));
  clipboardWatch_ = options.clipboardWatch;
  saveSettings_ = options.saveSettings;
  screenArea_ = options.screenArea;
  if (options.reporter != nullptr) {
    reporter_ = options.reporter;
  } else {
    guiReporter_ = std::make_unique<GuiReporter>(this);
    reporter_ = guiReporter_.get();
  }
  // The owned objects first: book access, the word list, content output.
  disk_ = std::make_unique<TDisk>(*reporter_);
  disk_->SetBookList(&bar_);
  list_ = std::make_unique<Wordlist>(*reporter_);
  session_ = std::make_unique<SearchSession>(*disk_, *list_, bar_);
  content_ = std::make_unique<TContent>(*disk_);
  clipboardHadText_ = !QGuiApplication::clipboard()->text().isEmpty();

  BuildControls();
  BuildFirstStartHint();
  BuildMenus();
  LoadSettings(options);

  fonts_.Create(ViewSettingsOf(settings_));
  fontsCreated_ = true;
  listPainter_ = std::make_unique<WordListPainter>(*disk_, *list_, bar_, fonts_);
  connect(&clipboard_, &QtClipboard::aboutToChange, this, &TMorvaForm::clipboardAboutToChange);
  connect(&clipboard_, &QtClipboard::selectionAboutToChange, this,
          &TMorvaForm::selectionAboutToChange);
  // Key preview: the window sees keys before its controls.
  qApp->installEventFilter(this);
}

TMorvaForm::~TMorvaForm() {
  qApp->removeEventFilter(this);
  if (saveSettings_) SaveSettings();
  if (findDialog1_ != nullptr) findDialog1_->hide();
}

void TMorvaForm::LoadSettings(const FormOptions& options) {
  store_ = std::make_unique<SettingsStore>(options.settingsFile.empty() ? DefaultSettingsFilePath()
                                                                        : options.settingsFile);
  ParmRequest parm;
  if (options.readStartupRequest) {
    parm = ReadRequestFromParm(*store_);
    if (!parm.settingsFile.empty()) store_ = std::make_unique<SettingsStore>(parm.settingsFile);
  }
  // Without a stored rectangle the window takes the whole usable area.
  const QRect area = UsableArea();
  store_->LoadAll(settings_, ScreenSize{area.isEmpty() ? 1024 : area.width(),
                                        area.isEmpty() ? 768 : area.height()});
  if (options.readStartupRequest) {
    startup_ = ApplyRequest(parm, settings_, false, [this] { return ClipboardWord(); });
  }

  // The window values. The stored rectangle is the frame's position and the
  // client size; one made on another screen or at another scale is moved
  // and shrunk onto this one.
  const Rect& stored = settings_.main;
  const QMargins margins = FrameMarginsOf(*this);
  const QSize frameSize = QSize(std::max(200, stored.w), std::max(150, stored.h)).grownBy(margins);
  PlaceWindow(*this, QRect(QPoint(stored.l, stored.t), frameSize), area);
  keyWidth_ = settings_.keyWidth;
  // A window shrunk onto this screen keeps room for the content pane.
  if (keyWidth_ > width() - 50) keyWidth_ = width() / 3;
  layout_ = std::clamp(settings_.windowLayout, 0, 2);
  continuous_ = settings_.scroll;
  session_->bookSlot() = settings_.book;
  menuDicBar_->setChecked(settings_.dicBar);
  menuMode_->setChecked(settings_.modeButton);
  CheckLayoutItem();
  CheckSortItems();

  helpFile_ = store_->ResolvePath("MORVA.HLP");
  titleHelpFile_ = store_->ResolvePath("MORVATITLE.HLP");
  currentHelpFile_ = helpFile_;
  ApplyEngineAndViewSettings();

  comboBox1_->clear();
  session_->SetHistory(settings_.history);
  for (const std::string& word : session_->history()) comboBox1_->addItem(QStringFromSjis(word));
  comboBox1_->setEditText(QString());
  if (startup_.searchDue) {
    session_->SetWord(startup_.word);
    comboBox1_->setEditText(QStringFromSjis(session_->word()));
  }
}

void TMorvaForm::ApplyEngineAndViewSettings() {
  settings_.scroll = continuous_;
  const std::string dicInfo = disk_->settings().dicInfoPath;
  const int fontSize = disk_->settings().font0TextSize;
  disk_->settings() = ToEngineSettings(settings_);
  // External-character fonts are chosen for the screen's pixels: on a
  // high-density screen a 16 px text size is drawn with 32 device pixels and
  // takes the 24-dot font where the book has one.
  disk_->settings().font0TextSize = qRound(settings_.font0.size2 * qApp->devicePixelRatio());
  // A changed information file or font size must be read again at the next
  // selection.
  if (disk_->settings().dicInfoPath != dicInfo || disk_->settings().font0TextSize != fontSize)
    disk_->ForgetCurrentSubbook();
}

void TMorvaForm::SaveSettings() {
  settings_.history = session_->history();
  settings_.book = session_->book();
  const QRect frame = geometry();
  settings_.main = {pos().x(), pos().y(), frame.width(), frame.height()};
  settings_.scroll = continuous_;
  settings_.windowLayout = layout_;
  settings_.keyWidth = keyWidth_;
  settings_.dicBar = menuDicBar_->isChecked();
  settings_.modeButton = menuMode_->isChecked();
  store_->SaveAll(settings_, KeyWidth());
}

QRect TMorvaForm::UsableArea() const { return screenArea_ ? *screenArea_ : UsableAreaOf(*this); }

QRect TMorvaForm::ContentPaneRect() const {
  if (!panel3_->isVisible()) return geometry();
  return QRect(panel3_->mapToGlobal(QPoint(0, 0)), panel3_->size());
}

int TMorvaForm::KeyWidth() const {
  if (layout_ == kBothPanes && splitterSized_ && panel2_->isVisible()) return panel2_->width();
  return keyWidth_;
}

void TMorvaForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  // Now the window manager's frame is known (or soon will be): the whole
  // frame, with the status bar and the buttons at the bottom, must be on
  // the screen.
  KeepOnScreen(*this, UsableArea());
  QTimer::singleShot(0, this, [this] { KeepOnScreen(*this, UsableArea()); });
  FormShow();
}

void TMorvaForm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::ActivationChange) return;
  TrackCtrlNow();
  if (isActiveWindow()) emit windowActivated();
}

void TMorvaForm::FormShow() {
  view_ = std::make_unique<TTextView>(*disk_, *myScrollBox1_, fonts_, ViewSettingsOf(settings_));
  view_->SetClipboard(&clipboard_);
  connect(view_.get(), &TTextView::backEnabledChanged, this, [this](bool enabled) {
    buttonBack_->setEnabled(enabled);
    menuBack_->setEnabled(enabled);
  });
  view_->isBusy = [this] { return busy_; };
  connect(view_.get(), &TTextView::contextMenuRequested, this,
          [this](QPoint at) { popupMenu1_->popup(at); });
  connect(view_.get(), &TTextView::imageLinkFollowed, this, &TMorvaForm::imageLinkFollowed);
  connect(view_.get(), &TTextView::soundLinkFollowed, this, &TMorvaForm::soundLinkFollowed);
  connect(view_.get(), &TTextView::statusTextChanged, this, &TMorvaForm::SetStatusPanel0);
  view_->Clear();

  BuildGroupMenu(*menuGroup_, editGroupAction_, GroupNames(GroupFilePath(store_->SettingsDir())),
                 [this](const std::string& name) { OpenGroup(name); });
  if (settings_.group.empty()) {
    if (session_->book() >= 0) emit startupDriveSearchDue();
    RefreshLayout();
    OpenBook(session_->book(), kIndexTab);
  } else {
    OpenGroup(settings_.group);
  }
  ShowTitlePage();

  if (startup_.searchDue) {
    RunStartupSearch(*this, startup_);
    startup_.searchDue = false;
  } else if (clipboardHadText_) {
    emit clipboardCheckDue();
  }
}

void TMorvaForm::StartupCommand() {
  ParmRequest parm = ReadRequestFromParm(*store_);
  if (!parm.settingsFile.empty()) store_ = std::make_unique<SettingsStore>(parm.settingsFile);
  startup_ = ApplyRequest(parm, settings_, true, [this] { return ClipboardWord(); });
  if (!startup_.searchDue) {
    // No word to search: a group the request names is still opened, so that
    // the window shows the group its Group setting names; the window comes
    // forward as the request asked for it.
    const std::string requested = RequestedGroup();
    if (!parm.request.group.empty() && requested != TitleGroup()) OpenGroup(requested);
    RedrawBookBar();
    BringToFront();
    return;
  }
  session_->SetWord(startup_.word);
  comboBox1_->setEditText(QStringFromSjis(session_->word()));
  RunStartupSearch(*this, startup_);
  startup_.searchDue = false;
}

std::optional<std::string> TMorvaForm::ClipboardWord() {
  if (clipboardWatch_ == nullptr) return std::nullopt;
  std::optional<std::string> word = clipboardWatch_->TakeClipboardWord();
  if (word && word->empty()) return std::nullopt;
  return word;
}

void TMorvaForm::OpenGroup(const std::string& name) {
  morva::OpenGroup(*this, GroupFilePath(store_->SettingsDir()), name);
}

void TMorvaForm::SetSearchText(const QString& text) { comboBox1_->setEditText(text); }

void TMorvaForm::SetBusy(bool busy) {
  busy_ = busy;
  if (!busy) {
    drawGrid1_->Redraw();
    if (view_) myScrollBox1_->viewport()->update();
  }
}

}  // namespace morva
