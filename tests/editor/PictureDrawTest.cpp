// Pictures drawn: decoded BMPs of every depth, PNG and GIF, and the placeholder bitmaps.
#include <QBuffer>
#include <QPainter>

#include <gtest/gtest.h>

#include "media/Picture.h"
#include "editor/PictureImage.h"
#include "editor/PlaceholderBitmap.h"
#include "resources/ResourceLibrary.h"
#include "support/ImageBytes.h"
#include "support/TestBitmaps.h"

namespace ab {
namespace {

using testing::SolidImage;

const QColor kRed(255, 0, 0), kGreen(0, 255, 0), kBlue(0, 0, 255), kWhite(255, 255, 255), kBlack(0, 0, 0);
const QColor kCanvas(10, 20, 30);

// A 5 x 4 image whose quadrants differ and whose top-left pixel is marked, so
// that a picture drawn upside down, mirrored or with swapped channels shows.
QImage QuadrantImage(QColor topLeft, QColor topRight, QColor bottomLeft, QColor bottomRight, QColor mark) {
  QImage image(5, 4, QImage::Format_RGB32);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x)
      image.setPixelColor(x, y, y < 2 ? (x < 3 ? topLeft : topRight) : (x < 3 ? bottomLeft : bottomRight));
  image.setPixelColor(0, 0, mark);
  return image;
}

class PictureDepths : public ::testing::TestWithParam<int> {};

TEST_P(PictureDepths, PixelsBecomeTheSameImageAndDrawStretchedWithoutBlending) {
  const int bits = GetParam();
  // 1 bit holds two colours; 16 bits five bits a channel, so only 0 and 255 survive unchanged.
  const QImage expected = bits == 1    ? QuadrantImage(kBlack, kWhite, kWhite, kBlack, kWhite)
                          : bits == 16 ? QuadrantImage(kRed, kGreen, kBlue, QColor(255, 255, 0), kWhite)
                                       : QuadrantImage(kRed, kGreen, kBlue, QColor(0, 128, 128), QColor(250, 130, 10));
  const Picture picture = testing::DecodedPicture(expected, bits);
  ASSERT_EQ(picture.BitsPerPixel(), bits);
  EXPECT_EQ(PictureToImage(picture).convertToFormat(QImage::Format_RGB32), expected);

  QImage canvas = SolidImage(40, 30, kCanvas);
  QPainter painter(&canvas);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  EXPECT_EQ(picture.Draw(painter, QRect(0, 0, 5, 4), QRect(5, 6, 15, 12)), 4);
  EXPECT_TRUE(painter.testRenderHint(QPainter::SmoothPixmapTransform)) << "the caller's settings stay";
  painter.end();
  EXPECT_EQ(canvas.copy(5, 6, 15, 12), expected.scaled(15, 12));
  EXPECT_EQ(testing::InkCount(canvas, canvas.rect(), kCanvas), 15 * 12) << "nothing drawn beside";
}

INSTANTIATE_TEST_SUITE_P(AllDepths, PictureDepths, ::testing::Values(1, 4, 8, 16, 24, 32));

// What phones send draws as a BMP does (transparent parts on white paper), decoded at the first draw only.
TEST(PictureDraw, PngAndGifPicturesDrawDecodedOnce) {
  QImage clear(6, 4, QImage::Format_ARGB32);
  clear.fill(Qt::transparent);
  QByteArray png;
  QBuffer buffer(&png);
  ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && clear.save(&buffer, "PNG"));
  const std::pair<std::string, QColor> rows[] = {{png.toStdString(), kWhite}, {testing::RedPixelGif(), kRed}};
  for (const auto& [bytes, colour] : rows) {
    Picture picture;
    ASSERT_TRUE(picture.LoadFromMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    QImage canvas = SolidImage(20, 20, kCanvas);
    QPainter painter(&canvas);
    const QRect whole(0, 0, picture.Width(), picture.Height());
    EXPECT_EQ(picture.Draw(painter, whole, QRect(2, 2, 12, 8)), picture.Height());
    const PictureDrawCache* decoded = picture.DrawCache().get();
    picture.Draw(painter, whole, QRect(2, 2, 12, 8));
    painter.end();
    EXPECT_TRUE(decoded != nullptr && picture.DrawCache().get() == decoded);
    EXPECT_TRUE(testing::AllPixels(canvas, QRect(2, 2, 12, 8), colour));
    EXPECT_EQ(testing::InkCount(canvas, canvas.rect(), kCanvas), 12 * 8);
  }
}

TEST(PlaceholderBitmap, CopiesTheBitmapUnscaledCutToTheRectangleOrNothingWhenMissing) {
  const QImage bitmap = LoadResourceBitmap(201).toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_TRUE(bitmap.width() > 20 && bitmap.height() > 20);
  const QRect target(7, 9, bitmap.width() - 10, bitmap.height() - 12);
  QImage canvas = SolidImage(bitmap.width() + 30, bitmap.height() + 30, kCanvas), untouched = canvas;
  EXPECT_TRUE(DrawPlaceholderBitmap(*std::make_unique<QPainter>(&canvas), 201, target));
  EXPECT_FALSE(DrawPlaceholderBitmap(*std::make_unique<QPainter>(&untouched), 9999, target));
  EXPECT_EQ(canvas.copy(target), bitmap.copy(0, 0, target.width(), target.height()));
  EXPECT_TRUE(testing::AllPixels(untouched, untouched.rect(), kCanvas));
}

}  // namespace
}  // namespace ab
