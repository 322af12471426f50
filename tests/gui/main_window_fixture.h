// The main window's tests: a settings folder of their own (settings file,
// group file, per-book information file, all Shift-JIS), books written by
// mkbook into it or taken from the shared books, and the program's main
// window over them (MorvaWindow, as the program makes it) with a recording
// reporter. Modal dialogs are recorded by class name and answered by
// answerDialog_ (rejected when it is unset).
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window/tmorva_form.h"
#include "app/main_window/window_wiring.h"
#include "app/main_window/word_grid.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/search/wordlist.h"
#include "engine/text/unicode.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/body_text.h"
#include "tools/mkbook/index_tree.h"
#include "tools/mkbook/jis_text.h"
#include "tools/mkbook/menu.h"
#include "tools/mkbook/subbook_pages.h"
#include "tools/mkbook/volume.h"
#include "view/ttextview.h"

namespace morva::testing {

struct BookEntry {
  std::string heading;             // UTF-8, the entry's first line
  std::vector<std::string> words;  // UTF-8 keys of its forward word index
};

// A line of the group file.
struct GroupBook {
  std::string titleUtf8;
  std::string path;
  bool marked = true;
  std::string colour = "0000FF";
  std::string shortNameUtf8 = "本";
};

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir_.str()));
    std::filesystem::create_directories(SettingsDir());
  }
  ~MainWindowTest() override { Close(); }

  std::filesystem::path SettingsDir() const { return dir_.path() / "morva"; }
  std::filesystem::path IniPath() const { return SettingsDir() / "MORVA.INI"; }

  // The settings file, the group file and the per-book information file,
  // given in UTF-8 and stored in Shift-JIS.
  void WriteIni(const std::string& utf8) { WriteFile(IniPath(), Sjis(utf8)); }
  void WriteDat(const std::string& utf8) { WriteFile(SettingsDir() / "MORVA.DAT", Sjis(utf8)); }
  void WriteGroup(const std::string& name, const std::vector<GroupBook>& books) {
    std::string text = "[" + name + "]\n";
    for (const GroupBook& b : books)
      text += b.titleUtf8 + ",,," + b.path + ",1,," + b.colour + "," + b.shortNameUtf8 + "," +
              (b.marked ? "yes" : "no") + "\n";
    WriteFile(SettingsDir() / "MORVA.GRP", Sjis(text));
  }
  // A group "G" of the books, opened at start (with more settings lines).
  void UseBooks(const std::vector<GroupBook>& books, const std::string& moreOptions = "",
                const std::string& moreSections = "") {
    WriteGroup("G", books);
    WriteIni("[Options]\nGroup=G\nBook=1\n" + moreOptions + "\n" + moreSections);
  }

  // A volume of one sub-book titled title: the entries, a forward word index
  // and, when asked, a menu with one choice per entry. Each entry's text
  // after its heading is written by `text` (a line 説明の本文 when unset).
  std::string MakeBook(const std::string& name, const std::string& titleUtf8,
                       const std::vector<BookEntry>& entries, bool withMenu = false,
                       const std::function<void(mkbook::BodyText&)>& text = {}) {
    mkbook::SubbookPages pages;
    mkbook::BodyText body({pages.NextFreePage(), 0});
    std::vector<BookAddress> bodies;
    std::vector<mkbook::TreeEntry> index;
    for (const BookEntry& e : entries) {
      bodies.push_back(body.Here());
      for (const std::string& w : e.words)
        index.push_back({mkbook::JisFromUtf8(w), body.Here(), body.Here()});
      body.Indent(1).Headword(e.heading).Newline();
      if (text) text(body);
      else body.Text("説明の本文").Newline();
    }
    pages.AddSection(0x00, body.EndText().Bytes());
    pages.AddSection(0x91, mkbook::BuildIndexTree(index, pages.NextFreePage()).pages);
    if (withMenu) {
      mkbook::Menu menu({pages.NextFreePage(), 0});
      for (size_t i = 0; i < entries.size(); ++i) menu.Choice(entries[i].heading, bodies[i]);
      pages.AddSection(0x01, menu.Build());
    }
    mkbook::Subbook s;
    s.record.title = mkbook::JisFromUtf8(titleUtf8);
    s.record.directory = "book";
    s.body = pages.Build();
    mkbook::Volume v;
    v.AddSubbook(s);
    const std::filesystem::path root = dir_.path() / name;
    v.WriteTo(root);
    return root.string();
  }
  // A group of one book 試験 whose entries "<word>1" ... "<word>n" are all
  // found by word.
  void UseOneBook(int n = 1, const std::string& moreOptions = "",
                  const std::string& moreSections = "", bool withMenu = false) {
    const std::string name = "one" + std::to_string(++oneBooks_);
    UseBooks({{"試験", MakeBook(name, "試験", Many("ねこ", n), withMenu)}}, moreOptions,
             moreSections);
  }
  static std::vector<BookEntry> Many(const std::string& word, int n) {
    std::vector<BookEntry> entries;
    for (int i = 1; i <= n; ++i) entries.push_back({word + std::to_string(i), {word}});
    return entries;
  }

  // Makes and shows the main window with the recording progress box; with
  // startupRequest it also takes the request of the settings file's Parm
  // line, as a started program does.
  TMorvaForm& Open(bool startupRequest = false, MorvaWindowOptions wired = {}) {
    OpenWired(std::move(wired), startupRequest);
    main_->UseProgressBox(&progress_);
    return *form_;
  }
  // The same with the program's own progress box.
  TMorvaForm& OpenWired(MorvaWindowOptions wired = {}, bool startupRequest = false) {
    FormOptions options;
    options.settingsFile = IniPath().string();
    options.readStartupRequest = startupRequest;
    options.reporter = &reporter_;
    options.screenArea = screenArea_;
    if (!wired.execDialog)
      wired.execDialog = [this](QDialog& dialog) {
        dialogs_.push_back(dialog.metaObject()->className());
        return answerDialog_ ? answerDialog_(dialog) : static_cast<int>(QDialog::Rejected);
      };
    main_ = std::make_unique<MorvaWindow>(std::move(options), std::move(wired));
    form_ = &main_->form();
    form_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form_));
    return *form_;
  }
  // Destroys the window (which saves the settings).
  void Close() {
    main_.reset();
    form_ = nullptr;
  }
  // Makes the window active after another one was.
  void Activate(QWidget& window) {
    other_.show();
    other_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other_));
    if (&window == &other_) return;
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  template <typename T>
  T* Find(const char* name) {
    T* widget = form_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QComboBox* Box() { return Find<QComboBox>("ComboBox1"); }
  TWordGrid* Grid() { return Find<TWordGrid>("DrawGrid1"); }
  QAction* Action(const char* name) { return Find<QAction>(name); }

  // Types into the search box: ASCII key by key, Japanese as an input
  // method commits it.
  void Type(const QString& text) {
    for (const QChar c : text) {
      QInputMethodEvent commit;
      commit.setCommitString(QString(c));
      if (c.unicode() < 0x80) QTest::keyClick(Box()->lineEdit(), c.toLatin1());
      else QApplication::sendEvent(Box()->lineEdit(), &commit);
    }
  }
  // Types a word into the search box (replacing its text) and presses 検索.
  void Search(const std::string& utf8, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Box()->lineEdit()->clear();
    Type(QString::fromStdString(utf8));
    QTest::mouseClick(Find<QPushButton>("IndexSearchButton"), Qt::LeftButton, modifiers);
  }
  // Sets the search box's text and presses 検索.
  void SearchWired(const std::string& utf8) {
    form_->SetSearchText(QString::fromStdString(utf8));
    QTest::mouseClick(Find<QPushButton>("IndexSearchButton"), Qt::LeftButton);
  }
  std::string Status(int panel) { return form_->StatusText(panel).toStdString(); }
  std::string BoxText() { return Box()->currentText().toStdString(); }
  std::vector<int> BooksOfHits() {
    std::vector<int> books;
    for (const WordlistItem& item : form_->wordlist().Items()) books.push_back(item.book);
    return books;
  }
  BookAddress Shown() { return form_->view()->ShownAddress(); }
  BookAddress Body(int row) { return form_->wordlist().Item(row).body; }
  void ClickRow(int row) {
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      Grid()->RowRect(row).center());
  }
  // Headwords start with byte 03 in the marked text: the entries it holds.
  int EntriesInMarkedText() {
    const std::string text = ReadFile(form_->disk().MarkedTextPath());
    return static_cast<int>(std::count(text.begin(), text.end(), '\x03'));
  }

  TempDir dir_;
  RecordingReporter reporter_;
  RecordingProgress progress_;
  std::unique_ptr<MorvaWindow> main_;
  TMorvaForm* form_ = nullptr;
  // The usable screen area the windows are placed on.
  QRect screenArea_{0, 0, 1024, 768};
  std::vector<std::string> dialogs_;
  std::function<int(QDialog&)> answerDialog_;
  QWidget other_;  // another window to be active
  int oneBooks_ = 0;
};

using WiringTest = MainWindowTest;

}  // namespace morva::testing
