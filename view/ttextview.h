// TTextView: the content view. It shows the marked text of the current entry
// in the content pane (a TMyScrollBox it borrows): asks TBrows for lines,
// paints only the lines that need it, keeps the vertical scroll bar in whole
// lines, scrolls by keyboard and scroll bar (loading the neighbouring stretch
// of body text in continuous display), re-lays out on resizing, and remembers
// the positions shown before for the back button.
//
// It also gives the pane its mouse behaviour and text operations: hit
// testing, selection by dragging (with automatic scrolling), word selection,
// links (hand cursor, following them), copying and finding.
//
// The view borrows the book-access object, the pane and the display fonts;
// they must outlive it. What lies outside the view (the back button, the
// status bar, the image window, sound, the context menu, the busy state of a
// long operation) is reached through the callbacks below.
#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "engine/book/gaiji_map.h"
#include "engine/decode/marked_text.h"
#include "view/clipboard_adapter.h"
#include "view/content_window_source.h"
#include "view/display_fonts.h"
#include "view/gaiji_glyphs.h"
#include "view/history_ring.h"
#include "view/tbrows.h"
#include "view/view_settings.h"

class QPainter;
class QMouseEvent;

namespace morva {

class TDisk;
class TMyScrollBox;

// A place in the shown text: a display line and a byte position in the text
// that TBrows returns for it.
struct TextPos {
  int line = 0;
  int pos = 0;
  auto operator<=>(const TextPos&) const = default;
};

class TTextView final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TTextView)

 public:
  // Attribute word of painting: colour class in bits 0-3 (0 text, 1 special,
  // 2 link, 3 heading), then selected, bold, italic, superscript, subscript.
  // The marked-text codes switch all but the selection (ApplyStyle).
  static constexpr uint16_t kSelected = 0x10;
  static constexpr uint16_t kBold = kStyleBold;
  static constexpr uint16_t kItalic = kStyleItalic;
  static constexpr uint16_t kSuperscript = kStyleSuperscript;
  static constexpr uint16_t kSubscript = kStyleSubscript;

  // Binds itself to the pane's events. Nothing is shown at first.
  TTextView(TDisk& disk, TMyScrollBox& pane, const DisplayFonts& fonts, ViewSettings settings,
            QObject* parent = nullptr);
  ~TTextView() override;

  // New settings (the fonts already remade from them): lays the text out again.
  void SetSettings(const ViewSettings& settings);
  const ViewSettings& settings() const { return settings_; }
  // Where copies go; the view does not own it. Without one nothing is copied.
  void SetClipboard(ClipboardAdapter* clipboard) { clipboard_ = clipboard; }

  // ---- What the view asks of its owner ---------------------------------------
  std::function<bool()> isBusy;  // a progress window is open
  std::function<void()> onBeep;  // default: the system beep

  // ---- Showing and scrolling ---------------------------------------------
  // Nothing shown; the back button is disabled.
  void Clear();
  // Shows the item at (page, offset) of book-list row `subbook`; the caller has
  // written the marked-text file unless continuous display is on. (0, -1) goes
  // back to the newest history entry; a row below 0 clears the view. Page 0
  // marks material that is not a body address (the copyright page), which the
  // history never records.
  void Show(int subbook, int32_t page, int32_t offset);
  void Back() { Show(0, -1, 0); }
  // Lays the shown position out and shows it at its top line.
  void LayOutAndShow();
  // The pane changed size.
  void Resize();
  // Page Up, Page Down, Up, Down.
  void Key(int key);
  // Repaints the lines from one place to another (both included).
  void PaintLines(TextPos from, TextPos to);
  // The pane's paint event.
  void Paint(QPainter& painter, const QRect& rect);

  // ---- Selection and links ----------------------------------------------
  struct Hit {
    TextPos at;
    bool onLink = false;
  };
  // Pane client coordinates to a place in the text; sets the pane's cursor
  // (the hand over a link unless Ctrl is held).
  Hit HitTest(int x, int y, bool ctrl);
  void MouseDown(int x, int y, bool ctrl);
  void MouseMove(int x, int y, bool ctrl);
  void MouseUp(int x, int y);
  void DoubleClick();
  void RightDown(int x, int y, QPoint globalPos);

  bool HasSelection() const { return selStart_ != selEnd_; }
  TextPos SelectionStart() const { return std::min(selStart_, selEnd_); }
  TextPos SelectionEnd() const { return std::max(selStart_, selEnd_); }
  // Repaints the old selection and collapses it to a point.
  void SetAnchor(TextPos at);
  // Selects from start up to (not including) end and repaints.
  void Select(TextPos start, TextPos end);
  void SelectAll();
  // The selected text as plain Shift-JIS: wrapped lines joined, CR LF for a
  // line break (or the end, when one line is wanted), "_" / "＿" for external
  // characters; at most maxBytes bytes.
  std::string SelectionText(bool singleLine, size_t maxBytes = SIZE_MAX);
  // The selection as UTF-8 for copies (CR LF line ends): external characters
  // the book's Unicode map has become their characters, or the map's
  // replacement text.
  std::string SelectionUtf8();
  // Copies the selection, or the whole entry when nothing is selected, adding
  // the book's source notice to long or multi-line copies; then collapses the
  // selection.
  void CopySelection();
  // Finds text (Shift-JIS) after the selection; selects and shows it, or
  // beeps. Never matches across a line break of the entry.
  bool Find(std::string_view sjis, bool matchCase);
  // Follows a hidden marker (02 L letter …).
  void FollowMarker(std::string_view marker);

  // ---- State -----------------------------------------------------------------
  int ShownSubbook() const { return shown_.subbook; }
  BookAddress ShownAddress() const { return {shown_.page, shown_.offset}; }
  int TopLine() const;
  int VisibleLines() const { return visible_; }
  int LineCount() const { return lineCount_; }
  int TargetLine() const { return target_; }
  int Columns() const { return columns_; }
  int LineHeight() const { return Fonts().lineHeight; }
  const HistoryRing& history() const { return history_; }
  TBrows& brows() { return brows_; }
  // Lines painted since the last reset (for tests and benchmarks).
  int LinesPainted() const { return linesPainted_; }
  void ResetLinesPainted() { linesPainted_ = 0; }

 signals:
  // Going back became possible or impossible (ButtonBack and MenuBack).
  void backEnabledChanged(bool enabled);
  // The right button over a selection: the context menu at that place.
  void contextMenuRequested(QPoint globalPos);
  // A link's "G" (image) or "S" (sound) marker was followed.
  void imageLinkFollowed(const std::string& marker);
  void soundLinkFollowed(const std::string& marker);
  // A link's text for the status bar (Shift-JIS).
  void statusTextChanged(const std::string& sjis);

 private:
  struct Shown {
    int subbook = -1;
    int32_t page = 0;
    int32_t offset = 0;
    int topLine = 0;
  };

  const FontSet& Fonts() const { return fonts_.Set(fontSet_); }
  bool Continuous() const { return settings_.scroll; }
  // Continuous display of body text: material that is not a body address
  // (page 0, the copyright page) is shown as it was written.
  bool ContinuousNow() const { return settings_.scroll && shown_.page >= 1; }
  int ComputeColumns() const;
  int ComputeVisible() const;
  int MaxScroll() const;
  void UpdateScrollRange();
  void ScrollTo(int top);
  void ScrollMoved();
  // After loading another stretch in continuous display.
  void TakeNewStretch();
  void UpdateBackButton();
  void Beep();

  // Painting.
  void PaintLine(QPainter& painter, int line, int y);
  TextFont FontFor(uint16_t attribute) const;
  QColor ClassColour(uint16_t attribute) const;
  int Advance(uint16_t code, int bytes, uint16_t attribute) const;
  int DrawRun(QPainter& painter, std::string_view bytes, uint16_t attribute, int x, int y);
  void DrawMark(QPainter& painter, const QString& text, int advance, uint16_t attribute, int x,
                int y);
  void DrawGaiji(QPainter& painter, bool full, uint16_t code, uint16_t attribute, int x, int y);
  // The selected tokens in order, each as (token, its bytes); stops
  // where piece returns false.
  template <typename Piece>
  void ForEachSelected(bool singleLine, Piece&& piece);

  // Selection.
  TextPos WordEnd(TextPos from);
  void SelectWordAtAnchor();
  void AutoScroll(int x, int y);
  void RepaintSelection();
  // Offers the selection made by the user as the primary selection.
  void OfferSelection();

  TDisk& disk_;
  TMyScrollBox& pane_;
  const DisplayFonts& fonts_;
  ViewSettings settings_;
  ContentWindowSource windowSource_;
  TBrows brows_;
  ClipboardAdapter* clipboard_ = nullptr;

  Shown shown_;
  int fontSet_ = 0;
  bool titleColor_ = true;
  std::string sourceNotice_;
  int visible_ = 0;
  int lineCount_ = 0;
  int target_ = 0;
  int columns_ = 0;
  bool repaintAll_ = true;
  int lastPaintedTop_ = -10000;
  int lastScrollPos_ = 0;
  int linesPainted_ = 0;
  HistoryRing history_;
  GaijiGlyphs glyphs_{disk_};

  TextPos selStart_;
  TextPos selEnd_;
  TextPos previousEnd_;
  bool selecting_ = false;
  bool doubleClicked_ = false;
  bool autoScrollPending_ = false;
  int lastPointerY_ = 0;
};

}  // namespace morva
