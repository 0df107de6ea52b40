#include "editor/LayoutCell.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

#include "support/TestBitmaps.h"

namespace ab {
namespace {

using testing::AllPixels;
using testing::InkBox;
using testing::InkCount;

const QColor kBackground(10, 20, 30), kRed(255, 0, 0), kWhite(255, 255, 255);

// What `draw` leaves on a canvas of the background colour.
QImage Drawn(QSize size, const std::function<void(QPainter&)>& draw, QColor background = kBackground) {
  QImage canvas = testing::SolidImage(size.width(), size.height(), background);
  QPainter painter(&canvas);
  draw(painter);
  return canvas;
}

TEST(LayoutCell, FittedRectKeepsTheAspectAnchoredTopLeft) {
  const std::tuple<CellRect, int, int, QRect> cases[] = {
      {{0, 0, 140, 180}, 200, 100, {0, 0, 140, 70}},   {{0, 0, 200, 100}, 50, 50, {0, 0, 100, 100}},
      {{380, 0, 520, 180}, 280, 360, {380, 0, 140, 180}},
      // A single-precision factor: 100/3 times 3 is exactly 100 in float, 99.99... in double.
      {{10, 20, 110, 120}, 3, 3, {10, 20, 100, 100}}, {{0, 0, 140, 180}, 0, 10, {}}};
  for (const auto& [cell, width, height, fitted] : cases)
    EXPECT_EQ(LayoutCell::FittedRect(cell, width, height), fitted) << width << "x" << height;
}

TEST(LayoutCell, DrawFittedDrawsAtTheMovedCellWithTheShadowBehindOrNothing) {
  const Picture picture = testing::DecodedPicture(testing::SolidImage(200, 100, kRed));
  LayoutCell cell(CellRect{10, 20, 150, 200});
  cell.SetPicture(&picture);
  EXPECT_EQ(InkBox(Drawn({200, 250}, [&](QPainter& p) { cell.DrawFitted(p, 5, 7, 0); }), kBackground), QRect(15, 27, 140, 70));
  const QImage shadowed = Drawn({200, 250}, [&](QPainter& p) { cell.DrawFitted(p, 5, 7, 1); });
  EXPECT_EQ(InkBox(shadowed, kBackground), QRect(15, 27, 148, 78));
  EXPECT_TRUE(AllPixels(shadowed, {15, 27, 140, 70}, kRed) && AllPixels(shadowed, {155, 35, 8, 70}, kShadowColour));
  EXPECT_TRUE(AllPixels(shadowed, {15, 97, 8, 8}, kBackground)) << "the shadow starts 8 in";

  const Picture empty;
  LayoutCell withEmpty(CellRect{0, 0, 50, 50}), withNone(CellRect{0, 0, 50, 50}), withText(CellRect{0, 0, 50, 50});
  withEmpty.SetPicture(&empty);
  withText.SetText("not a picture");
  for (const LayoutCell* c : {&withEmpty, &withNone, &withText})
    EXPECT_TRUE(InkBox(Drawn({80, 80}, [&](QPainter& p) { c->DrawFitted(p, 0, 0, 1); }), kBackground).isEmpty());
}

TEST(LayoutCell, FillOrFrameCoversExactlyTheMovedRectangle) {
  const LayoutCell cell(CellRect{2, 3, 12, 9});
  const QImage filled = Drawn({20, 20}, [&](QPainter& p) { cell.FillOrFrame(p, 1, 1, QBrush(kRed), 1); });
  const QImage framed = Drawn({20, 20}, [&](QPainter& p) { cell.FillOrFrame(p, 1, 1, QBrush(kRed), 0); });
  EXPECT_TRUE(AllPixels(filled, QRect(3, 4, 10, 6), kRed) && InkCount(filled, filled.rect(), kBackground) == 60);
  EXPECT_TRUE(AllPixels(framed, QRect(12, 4, 1, 6), kRed) && InkCount(framed, framed.rect(), kBackground) == 28);
}

TEST(LayoutCell, HitTestLeavesTheRightAndBottomEdgesOutside) {
  const LayoutCell cell(CellRect{70, 360, 310, 384});
  const std::tuple<int, int, QPoint, bool> cases[] = {
      {0, 0, {70, 360}, true}, {0, 0, {309, 383}, true}, {0, 0, {310, 370}, false}, {0, 0, {100, 384}, false},
      {30, 50, {100, 410}, true}, {30, 50, {99, 410}, false}, {30, 50, {340, 433}, false}};
  for (const auto& [dx, dy, point, inside] : cases)
    EXPECT_EQ(cell.HitTest(dx, dy, point), inside) << point.x() << "," << point.y() << " moved by " << dx << "," << dy;
}

// Text wraps, breaks at stored breaks and stops before a half line, inside its cell.
TEST(LayoutCell, TextWrapsBreaksAndStopsBeforeAHalfLine) {
  const QFont font(QStringLiteral("DejaVu Sans"), 10);
  const QImage probe = testing::SolidImage(1, 1, kWhite);
  const int line = QFontMetrics(font, &probe).height();
  const struct { const char* text; int width, height, linesInked; } cases[] = {
      {nullptr, 280, line, 0}, {"First Second", 280, 3 * line, 1}, {"First\r\nSecond", 280, 3 * line, 2},
      {"https://www.example.com/a/very/long/path", 60, 3 * line, 2},  // a word wider than the cell is broken
      {"alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu xi omicron", 120, line * 5 / 2, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text ? c.text : "null");
    LayoutCell cell(CellRect{0, 0, c.width, c.height});
    cell.SetText(c.text);
    const QImage image = Drawn({300, 200}, [&](QPainter& p) { cell.DrawText(p, 10, 20, kRed, font, Qt::AlignLeft); }, kWhite);
    EXPECT_TRUE(QRect(10, 20, c.width, c.height).contains(InkBox(image, kWhite)) || !c.linesInked);
    for (int n = 0; n < 3; ++n) EXPECT_EQ(InkCount(image, QRect(10, 20 + n * line + 2, 280, line - 4), kWhite) > 0, n < c.linesInked) << n;
  }
}

}  // namespace
}  // namespace ab
