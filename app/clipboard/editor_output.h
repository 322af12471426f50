// Handing content to the external editor (ｴﾃﾞｨﾀ起動) and editing the
// per-book information file (辞書個別指定).
//
// The editor file is written as UTF-8 text with LF line ends, the form the
// desktop's editors read; external characters become "_" (half width) or
// "＿" in the shown content, and their conversion text (or code) in the other
// two outputs.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "app/clipboard/run_editor.h"
#include "app/dialogs/teditor_dlg.h"
#include "engine/book/gaiji_map.h"

namespace morva {

class ProgressBox;
class TDisk;
class TTextView;
class Wordlist;
struct Settings;

// The three outputs. Each replaces the file whole (written beside it first)
// and returns false when it cannot be written.
// What the view shows; source is the shown book's SOURCE= value (Shift-JIS),
// written with a newline after it when not empty.
bool WriteShownContent(TTextView& view, const std::string& source, const std::string& path);
// Every item of the list in order, as plain text, then the SOURCE= line of
// every book the written items came from (each text once); the progress box
// (may be null) is captioned "ﾌｧｲﾙへ出力中" and stepped per item, and its
// cancel ends the loop (what was written stays).
bool WriteAllItems(TDisk& disk, const Wordlist& list, ProgressBox* progress,
                   const std::string& path);
bool WriteHeadings(TDisk& disk, const Wordlist& list, const std::string& path);

// Marked text as plain UTF-8: hidden markers, indents and style codes left
// out, new lines kept, external-character markers as the characters (or the
// replacement text) map gives them, else as "_" / "＿".
std::string MarkedToPlainUtf8(std::string_view marked, const GaijiMap* map);

struct EditorCommandHooks {
  // Shows TEditorDlg preset to *fileName and *content; true on OK with both
  // updated. Default: the dialog itself.
  std::function<bool(QString* fileName, EditorContent* content)> showDialog;
  // The yes/no box (caption "Editor") for an existing file; true for yes.
  // Default: QMessageBox::question.
  std::function<bool(const QString& caption, const QString& text)> confirm;
  RunEditorOptions run;
};

struct EditorCommandContext {
  TDisk& disk;
  const Wordlist& list;
  TTextView& view;
  Settings& settings;  // EditFile, Editor, English
  ProgressBox* progress = nullptr;
};

// ｴﾃﾞｨﾀ起動: only when the view shows something. Returns whether the editor
// was started.
bool EditorCommand(EditorCommandContext& context, const EditorCommandHooks& hooks,
                   QWidget* dialogParent = nullptr);

// Adds the line "[title]" at the end of the information file when no line of
// it reads so (the file is created when missing). False when it cannot be
// written.
bool EnsureDicInfoSection(const std::string& path, const std::string& titleSjis);

// 辞書個別指定: opens book `book`, makes sure the information file has its
// section, runs the editor on the file with the caption "辞書個別情報の編集",
// and releases the book so that its next use reads the edited file. Returns
// whether the editor was started.
bool EditDicInfoCommand(TDisk& disk, int book, const Settings& settings,
                        const RunEditorOptions& run);

}  // namespace morva
