#include "app/clipboard/editor_output.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/settings/settings.h"
#include "engine/book/messages.h"
#include "engine/book/report.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/decode/content.h"
#include "engine/decode/marked_text.h"
#include "engine/search/wordlist.h"
#include "engine/text/sjis.h"
#include "engine/text/unicode.h"
#include "platform/atomic_file.h"
#include "view/qt_conversions.h"
#include "view/ttextview.h"

namespace morva {
namespace {

QString FromPath(const std::string& s) { return QFile::decodeName(QByteArray::fromStdString(s)); }
std::string ToPath(const QString& s) { return QFile::encodeName(s).toStdString(); }

// The contents of an output file, gathered and then written beside the old
// file, which they replace whole: an editor that has the file open never
// sees it half written.
class OutputFile {
 public:
  explicit OutputFile(std::string path) : path_(std::move(path)) {}
  void Write(std::string_view utf8) { text_ += utf8; }
  bool Close() { return ReplaceFileContents(path_, text_); }

 private:
  std::string path_;
  std::string text_;
};

// Plain Shift-JIS line text with CR LF line ends as LF.
std::string WithoutCarriageReturns(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s)
    if (c != '\r') out.push_back(c);
  return out;
}

// Runs the text-mode output of external characters for book `row` (selected
// first, since selecting a book resets the mode), restoring the mode after.
template <typename F>
void WithTextGaiji(TDisk& disk, int row, F&& body) {
  disk.SelectSubbook(row);
  ScopedGaijiMode textGaiji(disk.decoderState(), GaijiMode::kText);
  body();
}

std::string SourceLine(const std::string& source) {
  return source.empty() ? std::string() : SjisToUtf8(source) + "\n";
}

// The SOURCE= value of book-list row `row` (Shift-JIS), empty when it has
// none or cannot be opened.
std::string SourceOf(TDisk& disk, int row) {
  return row >= 0 && disk.SelectSubbook(row) ? disk.info().source : std::string();
}

}  // namespace

std::string MarkedToPlainUtf8(std::string_view marked, const GaijiMap* map) {
  static const std::string kWideLowLine = "\x81\x51";
  std::string out;    // converted so far
  std::string plain;  // the Shift-JIS run not yet converted
  MarkedTextCursor cursor(marked, MarkedTextCursor::Text::kRuns);
  for (MarkedToken t = cursor.Next(); t.kind != MarkedKind::kEnd; t = cursor.Next()) {
    switch (t.kind) {
      case MarkedKind::kText: plain.append(cursor.Bytes()); break;
      case MarkedKind::kGaiji: {
        // A character the map has is written as itself (or its replacement
        // text); any other keeps its place as a low line.
        const GaijiMapEntry* mapped =
            map != nullptr && t.whole ? map->Find(t.fullWidth, t.code) : nullptr;
        if (mapped == nullptr) {
          plain += t.fullWidth ? kWideLowLine : std::string("_");
          break;
        }
        out += SjisToUtf8(WithoutCarriageReturns(plain));
        plain.clear();
        out += mapped->HasCharacter() ? mapped->utf8 : mapped->replacement;
        break;
      }
      case MarkedKind::kNewLine: plain.push_back('\n'); break;
      default: break;  // markers, indents and style codes
    }
  }
  return out + SjisToUtf8(WithoutCarriageReturns(plain));
}

bool WriteShownContent(TTextView& view, const std::string& source, const std::string& path) {
  OutputFile file(path);
  if (view.LineCount() > 0) {
    const bool hadSelection = view.HasSelection();
    const TextPos start = view.SelectionStart();
    const TextPos end = view.SelectionEnd();
    view.SelectAll();
    const std::string text = view.SelectionUtf8();
    if (hadSelection) {
      view.Select(start, end);
    } else {
      view.SetAnchor(start);
    }
    file.Write(WithoutCarriageReturns(text));
  }
  file.Write(SourceLine(source));
  return file.Close();
}

bool WriteAllItems(TDisk& disk, const Wordlist& list, ProgressBox* progress,
                   const std::string& path) {
  OutputFile file(path);
  TContent content(disk);
  std::vector<int> books;  // the books of the written items, in list order
  if (progress != nullptr) progress->Open(Sjis("ﾌｧｲﾙへ出力中"), list.Count());
  std::string marked;
  for (int i = 0; i < list.Count(); ++i) {
    if (progress != nullptr && progress->Step(i + 1)) break;
    const WordlistItem& item = list.Item(i);
    marked.clear();
    WithTextGaiji(disk, item.book, [&] { content.FormatItemTo(item.book, item.body, &marked); });
    file.Write(MarkedToPlainUtf8(marked, disk.decoderState().unicodeMap));
    if (std::find(books.begin(), books.end(), item.book) == books.end()) books.push_back(item.book);
  }
  if (progress != nullptr) progress->Close();
  // Every book the items came from names its source, each text once.
  std::vector<std::string> sources;
  for (int book : books) {
    std::string source = SourceOf(disk, book);
    if (source.empty() || std::find(sources.begin(), sources.end(), source) != sources.end())
      continue;
    file.Write(SourceLine(source));
    sources.push_back(std::move(source));
  }
  return file.Close();
}

bool WriteHeadings(TDisk& disk, const Wordlist& list, const std::string& path) {
  OutputFile file(path);
  for (int i = 0; i < list.Count(); ++i) {
    std::string heading;
    WithTextGaiji(disk, list.Item(i).book, [&] {
      heading = HeadingText(disk, list, i, HeadingMode::kDisplay, kWholeHeading);
    });
    file.Write(MarkedToPlainUtf8(heading, disk.decoderState().unicodeMap));
    file.Write("\n");
  }
  return file.Close();
}

bool EditorCommand(EditorCommandContext& c, const EditorCommandHooks& hooks,
                   QWidget* dialogParent) {
  if (c.view.LineCount() < 1) return false;
  QString fileName = FromPath(c.settings.editFile);
  EditorContent content = EditorContent::kShown;
  bool ok = false;
  if (hooks.showDialog) {
    ok = hooks.showDialog(&fileName, &content);
  } else {
    TEditorDlg dialog(dialogParent);
    dialog.SetFileName(fileName);
    ok = dialog.exec() == QDialog::Accepted;
    fileName = dialog.FileName();
    content = dialog.Content();
  }
  if (!ok) return false;
  c.settings.editFile = ToPath(fileName);
  const std::string& path = c.settings.editFile;
  if (path.empty()) return false;

  if (QFileInfo::exists(fileName)) {
    const QString caption = QStringLiteral("Editor");
    const QString text = QStringFromSjis(Message(13, c.settings.english));
    const bool yes = hooks.confirm ? hooks.confirm(caption, text)
                                   : QMessageBox::question(dialogParent, caption, text,
                                                           QMessageBox::Yes | QMessageBox::No) ==
                                         QMessageBox::Yes;
    if (!yes) return false;
  }

  bool written = false;
  switch (content) {
    case EditorContent::kShown:
      // The entry on screen may come from another book than the open one.
      written = WriteShownContent(c.view, SourceOf(c.disk, c.view.ShownSubbook()), path);
      break;
    case EditorContent::kAllItems: written = WriteAllItems(c.disk, c.list, c.progress, path); break;
    case EditorContent::kHeadings: written = WriteHeadings(c.disk, c.list, path); break;
  }
  if (!written) return false;
  RunEditorOptions run = hooks.run;
  run.english = c.settings.english;
  return RunEditor(c.settings.editor, path, Sjis("ｴﾃﾞｨﾀ"), run) >= 32;
}

bool EnsureDicInfoSection(const std::string& path, const std::string& titleSjis) {
  std::string text;
  if (std::ifstream in(path, std::ios::binary); in) {
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
  }
  const std::string header = "[" + titleSjis + "]";
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == header) return true;
  }
  // New files get CR LF, as the settings files do; an existing file keeps
  // its own line ends. The file is replaced whole, never appended to.
  const std::string eol = text.empty() || text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  if (!text.empty() && text.back() != '\n') text += eol;
  text += header + eol;
  return ReplaceFileContents(path, text);
}

bool EditDicInfoCommand(TDisk& disk, int book, const Settings& settings,
                        const RunEditorOptions& run) {
  if (!disk.SelectSubbook(book) || settings.dicInfo.empty()) return false;
  const std::string title = disk.subbook().title;
  EnsureDicInfoSection(settings.dicInfo, title);
  RunEditorOptions options = run;
  options.english = settings.english;
  const int result =
      RunEditor(settings.editor, settings.dicInfo, Sjis("辞書個別情報の編集"), options);
  // The next use of the book reads the information file again.
  disk.CloseSubbook();
  return result >= 32;
}

}  // namespace morva
