// MorvaWindow: the windows and commands of the menus and links — the image
// window, CD audio, the dump window, the external editor, the options
// dialog, help and the group editor.
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QTimer>

#include "app/clipboard/cd_audio.h"
#include "app/clipboard/clipboard_watch.h"
#include "app/clipboard/editor_output.h"
#include "app/clipboard/follow_link.h"
#include "app/dialogs/teditor_dlg.h"
#include "app/dialogs/toption_dlg.h"
#include "app/groups/group_edit_dlg.h"
#include "app/help/help_window.h"
#include "app/main_window/window_wiring.h"
#include "app/settings/settings_store.h"
#include "engine/book/tdisk.h"
#include "view/dump_window/tdump_form.h"
#include "view/graph_window/tgraph_form.h"
#include "view/ttextview.h"
#include "view/window_place.h"

namespace morva {

void MorvaWindow::WireWindows() {
  TMorvaForm* form = form_.get();
  connect(form, &TMorvaForm::imageLinkFollowed, this, [this](const std::string& marker) {
    TTextView* view = form_->view();
    if (view == nullptr) return;
    const Settings& settings = form_->settings();
    FollowImageLink(GraphForm(), *view, marker, form_->frameGeometry(), settings.graphX,
                    settings.graphY, form_->UsableArea());
  });
  connect(form, &TMorvaForm::soundLinkFollowed, this,
          [this](const std::string& marker) { FollowSoundLink(*cdAudio_, marker); });
  // The entry on screen may belong to another book than the open one (a
  // search over several books): the dump takes the book and the address of
  // what the pane shows.
  connect(form, &TMorvaForm::dumpRequested, this, [this] {
    const TTextView* view = form_->view();
    if (view == nullptr) return;
    DumpForm().ShowDump(view->ShownSubbook(), view->ShownAddress());
  });
  connect(form, &TMorvaForm::editorRequested, this, &MorvaWindow::RunEditorCommand);
  connect(form, &TMorvaForm::dicInfoEditRequested, this, [this] {
    EditDicInfoCommand(form_->disk(), form_->CurrentBook(), form_->settings(), options_.editorRun);
  });
  connect(form, &TMorvaForm::optionsRequested, this, [this] {
    if (RunOptionsDialog()) form_->SettingsChanged();
  });

  // The form names the help files by their stored names; the help window
  // keeps which one is current.
  connect(form, &TMorvaForm::helpContentsRequested, this,
          [this](const std::string& file) { Help().ShowContents(HelpWindow::FileFromName(file)); });
  connect(form, &TMorvaForm::helpFinderRequested, this, [this](const std::string& file) {
    HelpWindow& help = Help();
    help.SetCurrentFile(HelpWindow::FileFromName(file));
    help.ShowFinder();
  });
  connect(form, &TMorvaForm::helpTopicRequested, this,
          [this](const std::string& file, const std::string& topic) {
            HelpWindow& help = Help();
            help.SetCurrentFile(HelpWindow::FileFromName(file));
            help.ShowTopic(QString::fromStdString(topic));
          });

  connect(form, &TMorvaForm::groupEditRequested, this, [this] {
    const std::string before = form_->settings().group;
    form_->GroupsEdited(EditGroups(), before);
  });
}

TGraphForm& MorvaWindow::GraphForm() {
  if (graph_) return *graph_;
  // A window of its own (not a child of the form), closed with the form.
  graph_ = std::make_unique<TGraphForm>(form_->disk(), form_.get());
  const Settings& settings = form_->settings();
  graph_->SetZoom(settings.graphZoom);
  graph_->SetJumpColor(settings.jumpColor);
  TGraphForm* graph = graph_.get();
  connect(graph, &TGraphForm::textRequested, form_.get(), &TMorvaForm::ShowAddress);
  connect(graph, &TGraphForm::statusCleared, this, [this] { form_->SetStatus({}); });
  connect(graph, &TGraphForm::clipboardAboutToChange, watch_.get(), &ClipboardWatch::SetOwnChange);
  connect(graph, &TGraphForm::zoomChanged, this,
          [this](int zoom) { form_->settings().graphZoom = zoom; });
  connect(graph, &TGraphForm::hidden, this, [this](int dx, int dy) {
    form_->settings().graphX = dx;
    form_->settings().graphY = dy;
  });
  return *graph_;
}

TDumpForm& MorvaWindow::DumpForm() {
  if (dump_) return *dump_;
  dump_ = std::make_unique<TDumpForm>(form_->disk(), form_.get());
  // Centred on the main window, within the screen.
  KeepOnScreen(*dump_, form_->UsableArea());
  connect(dump_.get(), &TDumpForm::clipboardAboutToChange, watch_.get(),
          &ClipboardWatch::SetOwnChange);
  return *dump_;
}

HelpWindow& MorvaWindow::Help() {
  if (help_) return *help_;
  help_ = std::make_unique<HelpWindow>();
  // Centred on the main window, within the screen; later it stays where the
  // user puts it.
  const QSize frameSize = help_->size().grownBy(FrameMarginsOf(*help_));
  PlaceWindow(*help_, CenteredOn(form_->frameGeometry(), frameSize), form_->UsableArea());
  return *help_;
}

void MorvaWindow::ShowHelpFrom(QDialog& dialog, const QString& topic) {
  HelpWindow& help = Help();
  if (help.parentWidget() != &dialog) {
    const QRect where = help.geometry();
    help.setParent(&dialog, Qt::Window);
    help.setGeometry(where);
  }
  help.ShowTopic(topic);
}

void MorvaWindow::ReleaseHelpFrom(QDialog& dialog) {
  if (!help_ || help_->parentWidget() != &dialog) return;
  const bool shown = help_->isVisible();
  const QRect where = help_->geometry();
  help_->setParent(nullptr, Qt::Window);
  help_->setGeometry(where);
  if (shown) help_->show();
}

// ｴﾃﾞｨﾀ起動. 参照 in the editor dialog cancels it and offers the file
// dialog; a file chosen there becomes EditFile and the editor dialog comes
// back with it.
void MorvaWindow::RunEditorCommand() {
  TTextView* view = form_->view();
  if (view == nullptr) return;
  EditorCommandContext context{form_->disk(), form_->wordlist(), *view, form_->settings(),
                               progressBox_};
  EditorCommandHooks hooks;
  hooks.showDialog = [this](QString* fileName, EditorContent* content) {
    TEditorDlg dialog(form_.get());
    dialog.SetFileName(*fileName);
    connect(&dialog, &TEditorDlg::referRequested, this, [this](const QString& typed) {
      const std::optional<QString> chosen =
          options_.chooseFile
              ? options_.chooseFile(typed)
              : std::optional<QString>(QFileDialog::getSaveFileName(form_.get(), QString(), typed));
      if (!chosen || chosen->isEmpty()) return;
      form_->settings().editFile = QFile::encodeName(*chosen).toStdString();
      QTimer::singleShot(0, this, [this] { RunEditorCommand(); });
    });
    const bool ok = ExecDialog(dialog) == QDialog::Accepted;
    *fileName = dialog.FileName();
    *content = dialog.Content();
    return ok;
  };
  hooks.confirm = options_.confirm;
  hooks.run = options_.editorRun;
  EditorCommand(context, hooks, form_.get());
}

// ｵﾌﾟｼｮﾝ: on OK the settings take the dialog's values; the form then
// re-creates the fonts, hands the engine its settings and re-applies the
// display (TMorvaForm::SettingsChanged).
bool MorvaWindow::RunOptionsDialog() {
  TOptionDlg dialog(form_.get());
  dialog.hooks.chooseColor = options_.chooseColor;
  dialog.hooks.chooseFile = options_.chooseFile;
  connect(&dialog, &TOptionDlg::helpRequested, this,
          [this, &dialog](const QString& topic) { ShowHelpFrom(dialog, topic); });
  Settings& settings = form_->settings();
  dialog.Fill(settings);
  const int result = ExecDialog(dialog);
  ReleaseHelpFrom(dialog);
  if (result != QDialog::Accepted) return false;
  dialog.Apply(settings, form_->disk().reporter());
  watch_->SetAutoSearch(settings.autoSearch);
  watch_->SetWatchSelection(settings.watchSelection);
  if (graph_) graph_->SetJumpColor(settings.jumpColor);
  return true;
}

// 辞書ｸﾞﾙｰﾌﾟを編集する: the form opens the group and rebuilds the group menu
// afterwards, as the result asks.
GroupEditResult MorvaWindow::EditGroups() {
  Settings& settings = form_->settings();
  GroupEditHooks hooks;
  hooks.searchFolders = [this](const std::string& roots, int depth) {
    return SearchFolders(roots, depth);
  };
  hooks.chooseColour = options_.chooseColor;
  hooks.warning = [this](const std::string& text) { form_->disk().reporter().Warning(text); };
  TGroupEditDlg dialog(form_->store().SettingsDir(), settings.group, settings.searchRoots,
                       settings.searchDepth, std::move(hooks), form_.get());
  connect(&dialog, &TGroupEditDlg::helpRequested, this,
          [this, &dialog](const QString& topic) { ShowHelpFrom(dialog, topic); });
  ExecDialog(dialog);
  ReleaseHelpFrom(dialog);
  return dialog.Result();
}

}  // namespace morva
