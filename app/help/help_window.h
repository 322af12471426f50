// The help window: the HTML help pages of resources/help (built into the
// program) in a browser with contents, back and forward, and the topic
// finder (ﾄﾋﾟｯｸの検索), a keyword filter over the topics.
//
// Two help files stand for the system's two: the Morva help (its contents
// page and every topic) and the list of tested titles. The window keeps the
// current one, as the application help file was kept: 目次 chooses it, the
// finder and "?" use it.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QWidget;

namespace morva {

enum class HelpFile { kMorva = 0, kTitles = 1 };

struct HelpTopic {
  const char* name;      // the topic name ("SakuinKensaku"), the page anchor
  const char* page;      // the page under qrc:/help/
  const char* title;     // UTF-8
  const char* keywords;  // UTF-8, blank separated
  HelpFile file;
};

class HelpWindow final : public QMainWindow {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(HelpWindow)

 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // The help file a stored name stands for: MORVATITLE.HLP (any directory,
  // any case) is the list of titles, every other name the Morva help.
  static HelpFile FileFromName(const std::string& name);

  // Every topic, in the order of the contents.
  static const std::vector<HelpTopic>& Topics();
  // The page of a help file's contents, and of a named topic (empty URL for
  // an unknown name).
  static QUrl ContentsUrl(HelpFile file);
  static QUrl TopicUrl(const QString& name);
  // The names of the topics of a file whose title, keywords or name contain
  // every blank-separated word of text (without regard to case); all topics
  // for an empty text.
  static QStringList FindTopics(HelpFile file, const QString& text);

  // 目次 (and 動作確認CD-ROMｶﾀﾛｸﾞ): makes the file current and shows its contents.
  void ShowContents(HelpFile file);
  // Shows a topic of the current file ("?" and the dialogs' ﾍﾙﾌﾟ buttons);
  // an unknown topic shows the contents.
  void ShowTopic(const QString& name);
  // ﾄﾋﾟｯｸの検索: shows the finder of the current file.
  void ShowFinder();
  // Makes a file current without showing anything (the main window keeps
  // the name of the current help file itself).
  void SetCurrentFile(HelpFile file) { file_ = file; }

  HelpFile currentFile() const { return file_; }
  QTextBrowser* browser() const { return browser_; }
  QUrl currentUrl() const;

 private:
  void Open(const QUrl& url);
  void FilterTopics();
  void ShowChosenTopic();

  HelpFile file_ = HelpFile::kMorva;
  QTextBrowser* browser_ = nullptr;
  QWidget* finder_ = nullptr;
  QLineEdit* keyword_ = nullptr;
  QListWidget* topicList_ = nullptr;
};

}  // namespace morva
