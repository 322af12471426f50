// TGraphForm: the image window ("画像"). Shows a monochrome picture of the
// book, reached from a picture link of the content either directly (the long
// "G" marker with the picture's size) or through an image descriptor (the
// short marker), which also names hot spots, a related text and a next
// picture. The window zooms, copies the picture to the clipboard, prints it,
// saves it as a monochrome BMP file and keeps its own history of descriptors
// for 前の画像.
//
// One window is made on the first picture link and kept for the program's
// life; it borrows the book-access object, which must outlive it. Everything
// outside the window (showing text in the content view, the status bar, the
// clipboard watch, the settings, the file and print dialogs) is reached
// through the callbacks below; the dialogs default to Qt's own when no
// callback is set.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/book/book_address.h"
#include "view/graph_window/picture_data.h"
#include "view/graph_window/picture_history.h"

class QAction;
class QActionGroup;
class QPrinter;
class QScrollArea;

namespace morva {

class PictureWidget;
class TDisk;

class TGraphForm final : public QMainWindow {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TGraphForm)

 public:
  static constexpr int kZooms[] = {25, 50, 75, 100, 200, 400};
  // The filter handed to the save dialog, in the "description|pattern" form.
  static const QString& SaveFilter();

  // mainWindow (may be null) is the window against which the Graph offsets
  // are measured when this window hides; it is not the parent, so the image
  // window is a window of its own.
  explicit TGraphForm(TDisk& disk, QWidget* mainWindow = nullptr);
  ~TGraphForm() override;

  // ---- Replaceable steps -------------------------------------------------------
  std::function<void()> onBeep;  // default: QApplication::beep
  // The save dialog: the chosen file name, or empty when cancelled. The
  // filter is SaveFilter().
  std::function<QString(const QString& filter)> saveFileName;
  // Chooses and sets up the printer; false cancels. Default: the print dialog.
  std::function<bool(QPrinter& printer)> preparePrinter;

  // ---- Settings ------------------------------------------------------------------
  void SetJumpColor(uint32_t color);  // red + green * 256 + blue * 65536
  // Zoom: 25, 50, 75, 100, 200 or 400 (anything else is taken as 100).
  void SetZoom(int zoom);
  int zoom() const { return zoom_; }

  // ---- Showing -------------------------------------------------------------------
  // Shows the picture of a "G" marker of book-list row `subbook` (below 0:
  // the disk's current sub-book); textBeforeMarker is the marked text that
  // precedes the marker (the title is the link text after its last 0x01).
  void ShowImage(int subbook, std::string_view marker, std::string_view textBeforeMarker);
  // Shows the picture (or descriptor, when the size is 0) at the present
  // address.
  void LoadPicture();

  // ---- Menu commands and pointer (public so the main window and tests can drive them)
  void TextReferClick();
  void NextImageClick();
  void PrevImageClick();
  void Copy1Click();
  void Print1Click();
  void SaveAs1Click();
  void Exit1Click();
  void Image1MouseMove(int x, int y);
  void Image1MouseDown(int x, int y);

  // Prints the picture at its displayed size on an already set-up printer.
  bool PrintTo(QPrinter& printer);
  // Saves the picture with its marks as a monochrome BMP file.
  bool SaveBmp(const QString& path) const;

  // ---- State ---------------------------------------------------------------------
  BookAddress pictureAddress() const { return at_; }
  int pictureWidth() const { return width_; }
  int pictureHeight() const { return height_; }
  int subbook() const { return subbook_; }
  const std::string& title() const { return title_; }  // Shift-JIS
  const PictureRegions& regions() const { return regions_; }
  int hoveredHotSpot() const { return hovered_; }
  const PictureHistory& history() const { return history_; }
  // The picture as read (Format_Mono) and as shown (with the hot-spot marks).
  const QImage& picture() const { return picture_; }
  const QImage& markedPicture() const { return marked_; }
  PictureWidget* image1() const { return image1_; }

 signals:
  // A text hot spot was clicked: the text at `at` of book-list row `subbook`
  // is to be shown in the content view (formatted first outside continuous
  // display).
  void textRequested(int subbook, BookAddress at);
  // The main window's status message is to be cleared.
  void statusCleared();
  // The window is about to write the clipboard.
  void clipboardAboutToChange();
  // The zoom changed (the GraphZoom setting).
  void zoomChanged(int zoom);
  // The window hid: its left and top minus the main window's (the Graph
  // offsets).
  void hidden(int dx, int dy);

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  void BuildMenus();
  void MakeMarkedPicture();
  void ApplyZoom();
  void UpdateMenus();
  void ShowText(BookAddress at);
  void Beep();

  TDisk& disk_;
  QPointer<QWidget> mainWindow_;

  int subbook_ = -1;
  BookAddress at_;
  int width_ = 0;
  int height_ = 0;
  std::string title_;
  PictureRegions regions_;
  int hovered_ = 0;
  PictureHistory history_;
  int zoom_ = 100;
  uint32_t jumpColor_ = 0x008000;

  QImage picture_;
  QImage marked_;

  QScrollArea* scroll_ = nullptr;
  PictureWidget* image1_ = nullptr;
  QAction* textRefer_ = nullptr;
  QAction* prevImage_ = nullptr;
  QAction* nextImage_ = nullptr;
  QActionGroup* zoomGroup_ = nullptr;
};

}  // namespace morva
