// Starting the external editor. The program is started detached with its
// argument as an argument list (no shell is involved, so blanks and quotes in
// names need no escaping). The command line that the system has always shown
// for it (the program in double quotes when it contains a blank, then a blank
// and the argument) is kept for display.
//
// A failed start gives a result below 32, as the old starter did: 0 short of
// memory, 2 program not found, anything else another failure. Failures show
// message 9 or 11 (Japanese or English), or "実行できません. エラーコード:%d",
// in a warning box with the caller's caption, only when a caption was given.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>

namespace morva {

// Starts program with arguments; returns 32 or more on success, else an
// error code below 32 (tests inject a recorder; the program uses
// StartDetachedProcess).
using ProcessStarter = std::function<int(const QString& program, const QStringList& arguments)>;

// The default starter: QProcess::startDetached. A program that cannot be
// found gives 2, one that exists but cannot be run 5, any other failure 31.
int StartDetachedProcess(const QString& program, const QStringList& arguments);

// The warning box: caption and text (both Unicode).
using WarningBox = std::function<void(const QString& caption, const QString& text)>;
// The default: QMessageBox::warning without a parent.
void ShowWarningBox(const QString& caption, const QString& text);

// "program argument", the program in double quotes when it contains a blank,
// the argument left out when empty.
QString EditorCommandLine(const QString& program, const QString& argument);

// The failure text for a start result (Shift-JIS), empty for success.
std::string EditorFailureText(int result, bool english);

struct RunEditorOptions {
  ProcessStarter starter;  // default StartDetachedProcess
  WarningBox warning;      // default ShowWarningBox
  bool english = false;    // message language
};

// Runs the editor; program and argument are file names in the file system's
// own bytes, caption is Shift-JIS (empty: failures are not shown). Returns
// the start result.
int RunEditor(const std::string& program, const std::string& argument, const std::string& caption,
              const RunEditorOptions& options = {});

}  // namespace morva
