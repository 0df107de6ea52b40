#include "editor/PlaceholderBitmap.h"

#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

#include "resources/ResourceLibrary.h"
#include "support/TestBitmaps.h"

namespace ab {
namespace {

constexpr int kNoPhotoBitmap = 201;
const QColor kBackground(10, 20, 30);

TEST(PlaceholderBitmap, CopiesTheBitmapUnscaledAndCutToTheRectangle) {
  const QImage bitmap = LoadResourceBitmap(kNoPhotoBitmap).toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(bitmap.isNull());
  ASSERT_GT(bitmap.width(), 20);
  ASSERT_GT(bitmap.height(), 20);
  const QRect target(7, 9, bitmap.width() - 10, bitmap.height() - 12);

  QImage canvas = testing::Canvas(bitmap.width() + 30, bitmap.height() + 30, kBackground);
  QPainter painter(&canvas);
  EXPECT_TRUE(DrawPlaceholderBitmap(painter, kNoPhotoBitmap, target));
  painter.end();

  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      const QRgb want = target.contains(x, y) ? bitmap.pixel(x - target.left(), y - target.top()) : kBackground.rgb();
      ASSERT_EQ(canvas.pixel(x, y), want) << x << "," << y;
    }
  }
}

TEST(PlaceholderBitmap, MissingBitmapDrawsNothing) {
  QImage canvas = testing::Canvas(50, 50, kBackground);
  QPainter painter(&canvas);
  EXPECT_FALSE(DrawPlaceholderBitmap(painter, 9999, QRect(0, 0, 50, 50)));
  painter.end();
  EXPECT_EQ(testing::InkCount(canvas, canvas.rect(), kBackground), 0);
}

}  // namespace
}  // namespace ab
