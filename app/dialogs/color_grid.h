// ColorGrid of the options dialog: five cells in a row, each showing the
// label of one display colour (text, background, headings, links, special
// characters) drawn in that colour over the background colour, so the user
// sees the colours as the content will show them.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

namespace morva {

class ColorGrid final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(ColorGrid)

 public:
  static constexpr int kCells = 5;
  static constexpr int kCellWidth = 72;
  static constexpr int kCellHeight = 24;
  // The background is colour 1.
  static constexpr int kBackground = 1;

  explicit ColorGrid(QWidget* parent = nullptr);

  // Colours as red + green * 256 + blue * 65536, in cell order.
  void SetColors(const std::array<uint32_t, kCells>& colors);
  const std::array<uint32_t, kCells>& colors() const { return colors_; }
  int currentCell() const { return current_; }

  // The cell labels (UTF-8), exactly as drawn, blanks included.
  static const char* Label(int cell);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  QSize sizeHint() const override;

 private:
  std::array<uint32_t, kCells> colors_{};
  int current_ = 0;
};

}  // namespace morva
