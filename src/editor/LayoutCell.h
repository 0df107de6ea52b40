#pragma once
// A rectangle with one borrowed payload, a text or a Picture, that can be
// filled or framed, hit-tested and drawn as wrapped text or as a fitted
// picture. Every operation takes an offset (dx, dy) by which the rectangle is
// moved first, so one set of cells in card coordinates serves any scroll
// position.

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>

#include <cstdint>

class QPainter;

namespace ab {

class Picture;

// Left, top, right and bottom, the right and bottom edges lying outside.
struct CellRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  QRect Moved(int dx, int dy) const { return QRect(left + dx, top + dy, Width(), Height()); }
};

// The grey of the shadow behind a fitted picture.
inline const QColor kShadowColour(128, 128, 128);
inline constexpr int kShadowOffset = 8;

class LayoutCell {
 public:
  LayoutCell() = default;
  explicit LayoutCell(const CellRect& rect) : rect_(rect) {}

  const CellRect& rect() const { return rect_; }

  // The payload is not owned; it must outlive every draw of the cell.
  void SetText(const char* text) {
    text_ = text;
    picture_ = nullptr;
  }
  void SetPicture(const Picture* picture) {
    picture_ = picture;
    text_ = nullptr;
  }
  const char* text() const { return text_; }
  const Picture* picture() const { return picture_; }

  // Fills the moved rectangle with `brush` when `fill` is non-zero, else draws
  // a one-pixel border with it just inside the rectangle.
  void FillOrFrame(QPainter& painter, int dx, int dy, const QBrush& brush, int fill) const;

  // Whether `point` lies in the moved rectangle; right and bottom edges excluded.
  bool HitTest(int dx, int dy, const QPoint& point) const;

  // Draws the text (UTF-8, line breaks as CR LF) in `font` and `colour`
  // inside the moved rectangle, aligned horizontally by `format` (Qt::AlignLeft,
  // Qt::AlignRight or Qt::AlignHCenter) and wrapped at word boundaries, or
  // inside a word too long for a line. Lines below the first that would not
  // fit whole are left out, and nothing is drawn outside the rectangle. A
  // blank text draws nothing and leaves the painter's font and pen untouched;
  // otherwise they stay set to `font` and `colour`.
  void DrawText(QPainter& painter, int dx, int dy, const QColor& colour, const QFont& font, int format) const;

  // Draws the picture scaled by one factor to fit the cell, anchored at its
  // top-left corner; with `shadow`, a grey copy of the picture's rectangle
  // shows 8 pixels to the right and below. Nothing for no or an empty picture.
  void DrawFitted(QPainter& painter, int dx, int dy, int shadow) const;

  // Where DrawFitted puts a picture of `width` x `height` in a cell at the
  // origin: the factor is computed in single precision and the products
  // truncated, as the drawing does.
  static QRect FittedRect(const CellRect& cell, int width, int height);

 private:
  CellRect rect_;
  const char* text_ = nullptr;
  const Picture* picture_ = nullptr;
};

}  // namespace ab
