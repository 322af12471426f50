// TFindDialog ("FindDialog1"): the small modeless find dialog of 項目内容を検索:
// the text to find, a match-case switch and a 次を検索 button. It only holds
// the text and reports the button; the content view does the finding.
#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace morva {

class TFindDialog final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TFindDialog)

 public:
  explicit TFindDialog(QWidget* parent = nullptr);

  QString FindText() const;
  void SetFindText(const QString& text);
  bool MatchCase() const;

 signals:
  // 次を検索 was pressed (or Return in the text).
  void findRequested();

 private:
  QLineEdit* text_;
  QCheckBox* matchCase_;
  QPushButton* findButton_;
};

}  // namespace morva
