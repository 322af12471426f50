#include "app/clipboard/run_editor.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

#include "engine/book/messages.h"
#include "engine/book/text_utils.h"
#include "engine/text/unicode.h"
#include "view/qt_conversions.h"

namespace morva {
namespace {

constexpr int kStarted = 33;
constexpr int kShortOfMemory = 0;
constexpr int kNotFound = 2;
constexpr int kAccessDenied = 5;
constexpr int kOtherFailure = 31;

QString FromPath(const std::string& s) { return QFile::decodeName(QByteArray::fromStdString(s)); }

}  // namespace

int StartDetachedProcess(const QString& program, const QStringList& arguments) {
  const QString found =
      program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
  if (found.isEmpty() || !QFileInfo::exists(found)) return kNotFound;
  if (!QFileInfo(found).isExecutable() || QFileInfo(found).isDir()) return kAccessDenied;
  return QProcess::startDetached(found, arguments) ? kStarted : kOtherFailure;
}

void ShowWarningBox(const QString& caption, const QString& text) {
  QMessageBox::warning(nullptr, caption, text);
}

QString EditorCommandLine(const QString& program, const QString& argument) {
  QString line =
      program.contains(QLatin1Char(' ')) ? QLatin1Char('"') + program + QLatin1Char('"') : program;
  if (!argument.isEmpty()) line += QLatin1Char(' ') + argument;
  return line;
}

std::string EditorFailureText(int result, bool english) {
  if (result >= 32) return {};
  if (result == kShortOfMemory) return std::string(Message(9, english));
  if (result == kNotFound) return std::string(Message(11, english));
  return Format(Sjis("実行できません. エラーコード:%d").c_str(), result);
}

int RunEditor(const std::string& program, const std::string& argument, const std::string& caption,
              const RunEditorOptions& options) {
  QStringList arguments;
  if (!argument.empty()) arguments << FromPath(argument);
  const QString name = FromPath(program).trimmed();
  const int result =
      options.starter ? options.starter(name, arguments) : StartDetachedProcess(name, arguments);
  if (result < 32 && !caption.empty()) {
    const QString text = QStringFromSjis(EditorFailureText(result, options.english));
    const QString title = QStringFromSjis(caption);
    if (options.warning) {
      options.warning(title, text);
    } else {
      ShowWarningBox(title, text);
    }
  }
  return result;
}

}  // namespace morva
