#include "editor/LayoutCell.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

#include "support/TestBitmaps.h"

namespace ab {
namespace {

using testing::AllPixels;
using testing::Canvas;
using testing::DecodedPicture;
using testing::InkBox;
using testing::InkCount;

const QColor kBackground(10, 20, 30);
const QColor kRed(255, 0, 0);
const QColor kShadow(128, 128, 128);

TEST(LayoutCellFit, ScaleKeepsTheAspectAndAnchorsTopLeft) {
  struct Case {
    CellRect cell;
    int width, height;
    QRect expected;
  } cases[] = {
      {{0, 0, 140, 180}, 200, 100, QRect(0, 0, 140, 70)},   // reduced to the width
      {{0, 0, 200, 100}, 50, 50, QRect(0, 0, 100, 100)},    // enlarged to the height
      {{0, 0, 200, 100}, 400, 100, QRect(0, 0, 200, 50)},   // the card's logo cell
      {{380, 0, 520, 180}, 280, 360, QRect(380, 0, 140, 180)},  // the card's photo cell
      // A single-precision factor: 100/3 times 3 is exactly 100 in float, 99.99... in double.
      {{10, 20, 110, 120}, 3, 3, QRect(10, 20, 100, 100)},
      {{0, 0, 140, 180}, 0, 10, QRect()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LayoutCell::FittedRect(c.cell, c.width, c.height), c.expected) << c.width << "x" << c.height;
  }
}

TEST(LayoutCellFit, DrawsAtTheMovedCellWithTheShadowBehind) {
  const Picture picture = DecodedPicture(testing::SolidImage(200, 100, kRed));
  LayoutCell cell(CellRect{10, 20, 150, 200});
  cell.SetPicture(&picture);

  QImage plain = Canvas(200, 250, kBackground);
  QPainter painter(&plain);
  cell.DrawFitted(painter, 5, 7, 0);
  painter.end();
  // 140 x 70 at (15, 27).
  EXPECT_EQ(InkBox(plain, kBackground), QRect(15, 27, 140, 70));
  EXPECT_TRUE(AllPixels(plain, QRect(15, 27, 140, 70), kRed));

  QImage shadowed = Canvas(200, 250, kBackground);
  QPainter shadowPainter(&shadowed);
  cell.DrawFitted(shadowPainter, 5, 7, 1);
  shadowPainter.end();
  EXPECT_TRUE(AllPixels(shadowed, QRect(15, 27, 140, 70), kRed));
  EXPECT_TRUE(AllPixels(shadowed, QRect(155, 35, 8, 70), kShadow));  // right of the picture
  EXPECT_TRUE(AllPixels(shadowed, QRect(23, 97, 140, 8), kShadow));  // below it
  EXPECT_TRUE(AllPixels(shadowed, QRect(15, 97, 8, 8), kBackground));  // the shadow starts 8 pixels in
  EXPECT_TRUE(AllPixels(shadowed, QRect(155, 27, 8, 8), kBackground));
  EXPECT_EQ(InkBox(shadowed, kBackground), QRect(15, 27, 148, 78));
}

TEST(LayoutCellFit, NoPictureOrAnEmptyOneDrawsNothingNotEvenTheShadow) {
  const Picture empty;
  LayoutCell withEmpty(CellRect{0, 0, 50, 50});
  withEmpty.SetPicture(&empty);
  LayoutCell withNone(CellRect{0, 0, 50, 50});
  LayoutCell withText(CellRect{0, 0, 50, 50});
  withText.SetText("not a picture");
  for (const LayoutCell* cell : {&withEmpty, &withNone, &withText}) {
    QImage canvas = Canvas(80, 80, kBackground);
    QPainter painter(&canvas);
    cell->DrawFitted(painter, 0, 0, 1);
    painter.end();
    EXPECT_EQ(InkCount(canvas, canvas.rect(), kBackground), 0);
  }
}

TEST(LayoutCellFill, FillsOrFramesExactlyTheMovedRectangle) {
  const LayoutCell cell(CellRect{2, 3, 12, 9});
  QImage filled = Canvas(20, 20, kBackground);
  QImage framed = Canvas(20, 20, kBackground);
  {
    QPainter painter(&filled);
    cell.FillOrFrame(painter, 1, 1, QBrush(kRed), 1);
  }
  {
    QPainter painter(&framed);
    cell.FillOrFrame(painter, 1, 1, QBrush(kRed), 0);
  }
  EXPECT_TRUE(AllPixels(filled, QRect(3, 4, 10, 6), kRed));
  EXPECT_EQ(InkCount(filled, filled.rect(), kBackground), 60);

  // A one-pixel border on the rectangle's outermost pixels, the inside untouched.
  EXPECT_TRUE(AllPixels(framed, QRect(3, 4, 10, 1), kRed));
  EXPECT_TRUE(AllPixels(framed, QRect(3, 9, 10, 1), kRed));
  EXPECT_TRUE(AllPixels(framed, QRect(3, 4, 1, 6), kRed));
  EXPECT_TRUE(AllPixels(framed, QRect(12, 4, 1, 6), kRed));
  EXPECT_TRUE(AllPixels(framed, QRect(4, 5, 8, 4), kBackground));
  EXPECT_EQ(InkCount(framed, framed.rect(), kBackground), 28);
}

TEST(LayoutCellHitTest, RightAndBottomEdgesLieOutside) {
  const LayoutCell cell(CellRect{70, 360, 310, 384});
  struct Case {
    int dx, dy;
    QPoint point;
    bool inside;
  } cases[] = {
      {0, 0, {70, 360}, true},    {0, 0, {309, 383}, true},  {0, 0, {310, 370}, false},
      {0, 0, {100, 384}, false},  {0, 0, {69, 370}, false},  {0, 0, {100, 359}, false},
      {30, 50, {100, 410}, true}, {30, 50, {99, 410}, false}, {30, 50, {339, 433}, true},
      {30, 50, {340, 433}, false}, {-110, -50, {-40, 310}, true}, {-110, -50, {-40, 309}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cell.HitTest(c.dx, c.dy, c.point), c.inside) << c.point.x() << "," << c.point.y() << " moved by " << c.dx
                                                         << "," << c.dy;
  }
}

class LayoutCellText : public ::testing::Test {
 protected:
  QImage Draw(const LayoutCell& cell, int format = Qt::AlignLeft) {
    QImage canvas = Canvas(300, 200, QColor(255, 255, 255));
    QPainter painter(&canvas);
    cell.DrawText(painter, 10, 20, QColor(0, 0, 255), font, format);
    return canvas;
  }
  int LineHeight() const { return QFontMetrics(font, &probe).height(); }

  QImage probe = Canvas(1, 1);
  QFont font = QFont(QStringLiteral("DejaVu Sans"), 10);
};

TEST_F(LayoutCellText, BlankTextDrawsNothingAndSelectsNothing) {
  LayoutCell empty(CellRect{0, 0, 100, 30});
  empty.SetText("");
  LayoutCell none(CellRect{0, 0, 100, 30});
  for (const LayoutCell* cell : {&empty, &none}) {
    QImage canvas = Canvas(120, 60, kBackground);
    QPainter painter(&canvas);
    const QFont before(QStringLiteral("DejaVu Serif"), 21);
    painter.setFont(before);
    painter.setPen(kRed);
    cell->DrawText(painter, 0, 0, QColor(0, 0, 255), font, Qt::AlignLeft);
    EXPECT_EQ(painter.font(), before);
    EXPECT_EQ(painter.pen().color(), kRed);
    painter.end();
    EXPECT_EQ(InkCount(canvas, canvas.rect(), kBackground), 0);
  }
}

TEST_F(LayoutCellText, TextLeavesItsFontAndColourSelected) {
  LayoutCell cell(CellRect{0, 0, 100, 30});
  cell.SetText("Ann");
  QImage canvas = Canvas(120, 60, kBackground);
  QPainter painter(&canvas);
  cell.DrawText(painter, 0, 0, QColor(0, 0, 255), font, Qt::AlignLeft);
  EXPECT_EQ(painter.font(), font);
  EXPECT_EQ(painter.pen().color(), QColor(0, 0, 255));
}

TEST_F(LayoutCellText, LongTextWrapsInsideAndIsCutAtTheBottomEdge) {
  // Room for two whole lines and a half.
  const int height = LineHeight() * 5 / 2;
  LayoutCell cell(CellRect{0, 0, 120, height});
  const std::string text = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu xi omicron";
  cell.SetText(text.c_str());
  const QImage canvas = Draw(cell);
  const QRect box = InkBox(canvas, QColor(255, 255, 255));
  ASSERT_FALSE(box.isEmpty());
  EXPECT_TRUE(QRect(10, 20, 120, height).contains(box)) << box.x() << "," << box.y() << " " << box.width() << "x"
                                                         << box.height();
  // Two lines are drawn; the third, which would be cut in half, is left out
  // (below the second line's descenders nothing shows).
  EXPECT_GT(InkCount(canvas, QRect(10, 20 + LineHeight(), 120, LineHeight()), QColor(255, 255, 255)), 0);
  const int third = 20 + 2 * LineHeight() + 2;
  EXPECT_EQ(InkCount(canvas, QRect(10, third, 120, 20 + height - third), QColor(255, 255, 255)), 0);
}

TEST_F(LayoutCellText, AWordWiderThanTheCellIsBrokenNotSpilled) {
  LayoutCell cell(CellRect{0, 0, 60, LineHeight() * 3});
  cell.SetText("https://www.example.com/a/very/long/path");
  const QImage canvas = Draw(cell);
  const QRect box = InkBox(canvas, QColor(255, 255, 255));
  EXPECT_LE(box.right(), 10 + 59);
  EXPECT_GT(InkCount(canvas, QRect(10, 20 + LineHeight(), 60, LineHeight()), QColor(255, 255, 255)), 0);
}

TEST_F(LayoutCellText, StoredLineBreaksStartNewLines) {
  LayoutCell oneLine(CellRect{0, 0, 280, LineHeight() * 3});
  oneLine.SetText("First Second");
  LayoutCell twoLines(CellRect{0, 0, 280, LineHeight() * 3});
  twoLines.SetText("First\r\nSecond");
  const QRect second(10, 20 + LineHeight(), 280, LineHeight());
  EXPECT_EQ(InkCount(Draw(oneLine), second, QColor(255, 255, 255)), 0);
  EXPECT_GT(InkCount(Draw(twoLines), second, QColor(255, 255, 255)), 0);
}

TEST_F(LayoutCellText, AlignmentPlacesTheTextInTheCell) {
  LayoutCell cell(CellRect{0, 0, 280, 30});
  cell.SetText("Ann");
  const QRect left = InkBox(Draw(cell, Qt::AlignLeft), QColor(255, 255, 255));
  const QRect right = InkBox(Draw(cell, Qt::AlignRight), QColor(255, 255, 255));
  const QRect centred = InkBox(Draw(cell, Qt::AlignHCenter), QColor(255, 255, 255));
  EXPECT_LT(left.left(), 10 + 4);
  EXPECT_GT(right.right(), 10 + 280 - 5);
  EXPECT_NEAR(centred.center().x(), 10 + 140, 3);
  EXPECT_EQ(left.width(), right.width());
}

}  // namespace
}  // namespace ab
