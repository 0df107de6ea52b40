#include "viewer/CardPaint.h"

#include <QPainter>

#include <gtest/gtest.h>

#include "viewer/CardLayout.h"
#include "viewer/CardTexts.h"
#include "ViewerHarness.h"

namespace ab {
namespace {

using testing::AllPixels;
using testing::InkCount;

const QColor kUnpainted(1, 2, 3);

QImage Paint(const ContactRecord* record, QSize client = {640, 500}, QPoint offset = {}) {
  QImage image(client, QImage::Format_RGB32);
  image.fill(kUnpainted);
  CardCells cells;
  QPainter painter(&image);
  PaintCard(painter, client, offset.x(), offset.y(), cells, record);
  return image;
}

// A text row of the card drawn at (0, 0), in client coordinates.
QRect Cell(int row) { return cardLayout[static_cast<std::size_t>(row)].rect.Moved(kContentOrigin.x(), kContentOrigin.y()); }

TEST(PaintCard, MarginsPicturesShadowAndBarHaveTheirColours) {
  const auto pictures = testing::SampleRecord({.logo = true, .photo = true});
  auto badPhoto = testing::SampleRecord();
  badPhoto->SetPhoto(ByteBuffer::Copy("not a bitmap", 12));  // an empty picture: nothing, not even a shadow
  const QImage centred = Paint(pictures.get(), {800, 600}, {80, 50});
  const QImage plain = Paint(badPhoto.get());
  const QImage tall = Paint(nullptr, {640, 560}, {0, 30});
  const struct { const char* name; const QImage& image; QRect area; QColor colour; } cases[] = {
      {"left margin", centred, {0, 0, 80, 600}, kMarginGrey},     {"right margin", centred, {720, 0, 80, 600}, kMarginGrey},
      {"top margin", centred, {80, 0, 640, 50}, kMarginGrey},     {"bottom margin", centred, {80, 550, 640, 50}, kMarginGrey},
      {"top strip", centred, {80, 50, 640, 50}, kCardWhite},      {"logo 200 x 50", centred, {110, 100, 200, 50}, testing::kLogoColour},
      {"below the logo", centred, {110, 150, 210, 50}, kCardWhite}, {"photo 140 x 180", centred, {490, 100, 140, 180}, testing::kPhotoColour},
      {"shadow right", centred, {630, 108, 8, 180}, kMarginGrey}, {"shadow below", centred, {498, 280, 140, 8}, kMarginGrey},
      {"shadow starts 8 in", centred, {630, 100, 8, 8}, kCardWhite}, {"and 8 down", centred, {490, 280, 8, 8}, kCardWhite},
      {"beside the shadow", centred, {638, 100, 2, 200}, kCardWhite}, {"separator", centred, {165, 340, 10, 168}, kGridGrey},
      {"beside the separator", centred, {164, 340, 1, 168}, kCardWhite}, {"no photo", plain, {0, 0, 640, 170}, kCardWhite},
      {"no shadow", plain, {410, 50, 148, 188}, kCardWhite},       {"centred in height only", tall, {0, 0, 640, 30}, kMarginGrey},
  };
  for (const auto& c : cases) EXPECT_TRUE(AllPixels(c.image, c.area, c.colour)) << c.name;

  // A card as large as the client area or larger leaves no margin, nor anything unpainted.
  for (auto [client, offset] : {std::pair{QSize(500, 400), QPoint(-140, -100)}, {QSize(641, 500), QPoint()}}) {
    const QImage image = Paint(nullptr, client, offset);
    EXPECT_EQ(testing::CountColour(image, image.rect(), kMarginGrey) + testing::CountColour(image, image.rect(), kUnpainted), 0);
  }
}

// Each text in its row in its colour (antialiased glyphs blend into white, but their cores carry the colour
// itself); the cell frames only when switched on.
TEST(PaintCard, TextsInTheirRowsAndColoursAndFramesOnlyWhenSwitchedOn) {
  const QImage image = Paint(testing::SampleRecord().get());
  for (int row = ROW_COMPANY; row < kCardRows; ++row) {
    if (row == ROW_SEPARATOR) continue;
    EXPECT_GT(InkCount(image, Cell(row), kCardWhite), 20) << "row " << row;
    EXPECT_GT(testing::CountColour(image, Cell(row), cardLayout[static_cast<std::size_t>(row)].colour), 0) << "row " << row;
  }
  showCellFrames = true;
  const QImage framed = Paint(nullptr);
  showCellFrames = false;
  const QRect cell = Cell(ROW_EMAIL);
  EXPECT_TRUE(AllPixels(framed, QRect(cell.left(), cell.top(), cell.width(), 1), kGridGrey));
  EXPECT_TRUE(AllPixels(framed, QRect(cell.right(), cell.top(), 1, cell.height()), kGridGrey));
  EXPECT_TRUE(AllPixels(Paint(nullptr), QRect(cell.left(), cell.top(), cell.width(), 1), kCardWhite));
}

}  // namespace
}  // namespace ab
