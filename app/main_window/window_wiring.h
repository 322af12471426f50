// MorvaWindow: the program's main window with every part its signals reach
// wired in: the 複合 tab (compound search, candidate window),
// the 総合 tab (general search window over one full-text search), the
// progress box, the image, dump and help windows, CD audio, the external
// editor, the options dialog, the drive search, the group editor, the about
// box and the clipboard watch.
//
// It owns the TMorvaForm and every part, creates the clipboard watch before
// the form (the start-up request may ask for the clipboard word while the
// form is being made) and the other parts right after it; windows that are
// used rarely are made on first use and kept. A folder dropped on the window
// has its books added, as ﾌｧｲﾙ > 辞書ﾌｫﾙﾀﾞを開く does. When the form closes, the
// windows that belong to it close too; on destruction the parts go before the
// form, which saves the settings last.
//
// Modal dialogs, the colour and file dialogs, the editor's process start and
// the CD drive can be replaced through MorvaWindowOptions, so tests and
// automation never block on a window.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/clipboard/cd_audio.h"
#include "app/clipboard/run_editor.h"
#include "app/main_window/tmorva_form.h"

class QClipboard;
class QDialog;

namespace morva {

class ClipboardWatch;
class CompoundSearch;
class CompoundTab;
class FullTextSearch;
class HelpWindow;
class ProgressBox;
class TDumpForm;
class TGeneralSearch;
class TGraphForm;
class TMultiRefer;
class TProgress;

struct MorvaWindowOptions {
  // Runs a modal dialog and returns its result (QDialog::Accepted or
  // Rejected). Unset: QDialog::exec.
  std::function<int(QDialog& dialog)> execDialog;
  // The colour dialog (options, group editor), red + green * 256 + blue *
  // 65536; nothing when cancelled. Unset: Qt's colour dialog.
  std::function<std::optional<uint32_t>(uint32_t initial)> chooseColor;
  // The open-file dialog (options, the editor dialog's 参照); nothing when
  // cancelled. Unset: Qt's file dialog.
  std::function<std::optional<QString>(const QString& initial)> chooseFile;
  // The folder dialog of ﾌｧｲﾙ > 辞書ﾌｫﾙﾀﾞを開く; nothing when cancelled.
  // Unset: Qt's folder dialog.
  std::function<std::optional<QString>(const QString& initial)> chooseFolder;
  // The yes/no box of the editor command (caption, text); true for yes.
  // Unset: a question box.
  std::function<bool(const QString& caption, const QString& text)> confirm;
  // How the external editor is started and its failures shown.
  RunEditorOptions editorRun;
  // The CD drive that plays sound links. Unset: the Linux CD-ROM drive.
  std::unique_ptr<CdAudioDevice> cdAudioDevice;
  // The clipboard watched. Unset: the application's.
  QClipboard* clipboard = nullptr;
};

class MorvaWindow final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(MorvaWindow)

 public:
  explicit MorvaWindow(FormOptions formOptions = {}, MorvaWindowOptions options = {});
  ~MorvaWindow() override;

  TMorvaForm& form() { return *form_; }

  // The progress box of every long operation: the window's TProgress unless
  // another was given (a test's observer), which must outlive this object.
  // The general search window keeps the box it was made with, so another box
  // is given before the 総合 tab is first entered.
  TProgress& progress() { return *progress_; }
  void UseProgressBox(ProgressBox* progress);

  // The parts, for tests and automation. Windows made on first use are null
  // before it.
  ClipboardWatch& clipboardWatch() { return *watch_; }
  CompoundTab& compoundTab() { return *compoundTab_; }
  TMultiRefer& multiRefer() { return *refer_; }
  FullTextSearch& fullText() { return *fullText_; }
  CdAudio& cdAudio() { return *cdAudio_; }
  TGeneralSearch* generalSearch() { return general_.get(); }
  TGraphForm* graphForm() { return graph_.get(); }
  TDumpForm* dumpForm() { return dump_.get(); }
  HelpWindow* helpWindow() { return help_.get(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // window_wiring.cpp
  void WireClipboard();
  void WireProgram();
  // The form is closing: its windows close with it, the graph window's
  // offsets reach the settings and the compound fields are cleared.
  void CloseOwnWindows();
  int ExecDialog(QDialog& dialog);

  // wiring_search.cpp: the 複合 and 総合 tabs.
  void WireCompoundTab();
  void WireGeneralTab();
  void EnterGeneralTab();
  TGeneralSearch& GeneralSearch();

  // wiring_windows.cpp: links, dump, editor, options, help, about.
  void WireWindows();
  TGraphForm& GraphForm();
  TDumpForm& DumpForm();
  HelpWindow& Help();
  // Help asked for by a modal dialog: the help window belongs to the dialog
  // while it runs, so the dialog's modality does not block it; afterwards it
  // is a window of its own again (before the dialog goes).
  void ShowHelpFrom(QDialog& dialog, const QString& topic);
  void ReleaseHelpFrom(QDialog& dialog);
  void RunEditorCommand();
  bool RunOptionsDialog();
  GroupEditResult EditGroups();

  // wiring_drives.cpp: the drive search of the menu, of the start and of the
  // group editor; the folder of 辞書ﾌｫﾙﾀﾞを開く and of a drop.
  void WireDriveSearch();
  std::vector<FoundSubbook> SearchFolders(const std::string& roots, int depth);
  bool DropEvent(QEvent* event);

  MorvaWindowOptions options_;
  // Made before the form, destroyed after it.
  std::unique_ptr<ClipboardWatch> watch_;
  std::unique_ptr<TMorvaForm> form_;
  std::unique_ptr<TProgress> progress_;
  ProgressBox* progressBox_ = nullptr;
  std::unique_ptr<CompoundSearch> compound_;
  std::unique_ptr<FullTextSearch> fullText_;
  std::unique_ptr<CdAudio> cdAudio_;
  std::unique_ptr<TMultiRefer> refer_;
  std::unique_ptr<CompoundTab> compoundTab_;
  std::unique_ptr<TGeneralSearch> general_;
  int generalBook_ = -1;  // the book the general search window was set up for
  std::unique_ptr<TGraphForm> graph_;
  std::unique_ptr<TDumpForm> dump_;
  std::unique_ptr<HelpWindow> help_;
  bool closed_ = false;
};

}  // namespace morva
