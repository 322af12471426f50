// TEditorDlg: "ｴﾃﾞｨﾀ起動", the dialog before content is handed to the external
// editor: the file to write and what to write into it (the shown content,
// every hit item, or the headings of the hit items).
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QLineEdit;
class QPlainTextEdit;

namespace morva {

class RadioGroup;

// What the editor file receives: the Content group's item index.
enum class EditorContent { kShown = 0, kAllItems = 1, kHeadings = 2 };

class TEditorDlg final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TEditorDlg)

 public:
  explicit TEditorDlg(QWidget* parent = nullptr);

  void SetFileName(const QString& name);
  QString FileName() const;
  EditorContent Content() const;
  void SetContent(EditorContent content);

  // The read-only note (UTF-8 lines, full-width spaces as shown).
  static const char* const* NoteLines();

 signals:
  // 参照(&R) closed the dialog as cancelled; fileName is the name typed so
  // far. The main window shows its open-file dialog then (and may keep a
  // chosen file as EditFile for the next time).
  void referRequested(const QString& fileName);

 private:
  QLineEdit* fileName_ = nullptr;
  RadioGroup* content_ = nullptr;
  QPlainTextEdit* note_ = nullptr;
};

}  // namespace morva
