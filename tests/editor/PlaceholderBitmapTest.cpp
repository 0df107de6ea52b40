#include "editor/PlaceholderBitmap.h"

#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

#include "resources/ResourceLibrary.h"
#include "support/TestBitmaps.h"

namespace ab {
namespace {

TEST(PlaceholderBitmap, CopiesTheBitmapUnscaledCutToTheRectangleOrNothingWhenMissing) {
  constexpr int kNoPhotoBitmap = 201;
  const QImage bitmap = LoadResourceBitmap(kNoPhotoBitmap).toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_GT(bitmap.width(), 20);
  ASSERT_GT(bitmap.height(), 20);
  const QRect target(7, 9, bitmap.width() - 10, bitmap.height() - 12);
  const QColor background(10, 20, 30);
  QImage expected = testing::SolidImage(bitmap.width() + 30, bitmap.height() + 30, background);
  QImage canvas = expected, untouched = expected;
  QPainter(&expected).drawImage(target.topLeft(), bitmap, QRect(QPoint(0, 0), target.size()));
  EXPECT_TRUE(DrawPlaceholderBitmap(*std::make_unique<QPainter>(&canvas), kNoPhotoBitmap, target));
  EXPECT_EQ(canvas, expected);
  EXPECT_FALSE(DrawPlaceholderBitmap(*std::make_unique<QPainter>(&untouched), 9999, target));
  EXPECT_EQ(untouched, testing::SolidImage(untouched.width(), untouched.height(), background));
}

}  // namespace
}  // namespace ab
