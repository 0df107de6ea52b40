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
using testing::kLogoColour;
using testing::kPhotoColour;
using testing::SampleRecord;

const QColor kWhite(255, 255, 255);
const QColor kGrey(128, 128, 128);
const QColor kSeparator(200, 200, 200);

QImage Paint(const ContactRecord* record, QSize client, QPoint offset) {
  QImage image(client, QImage::Format_RGB32);
  image.fill(QColor(1, 2, 3));  // anything PaintCard leaves unpainted shows
  CardCells cells;
  QPainter painter(&image);
  PaintCard(painter, client, offset.x(), offset.y(), cells, record);
  return image;
}

// A content rectangle of the card at drawing offset `offset`, in client coordinates.
QRect Content(QPoint offset, const CellRect& rect) { return rect.Moved(offset.x() + 30, offset.y() + 50); }

TEST(PaintCard, CentredCardIsWhiteWithGreyMargins) {
  const QImage image = Paint(nullptr, QSize(800, 600), QPoint(80, 50));
  EXPECT_TRUE(AllPixels(image, QRect(0, 0, 80, 600), kGrey));
  EXPECT_TRUE(AllPixels(image, QRect(720, 0, 80, 600), kGrey));
  EXPECT_TRUE(AllPixels(image, QRect(80, 0, 640, 50), kGrey));
  EXPECT_TRUE(AllPixels(image, QRect(80, 550, 640, 50), kGrey));
  // The card's top strip, above any content, is white edge to edge.
  EXPECT_TRUE(AllPixels(image, QRect(80, 50, 640, 50), kWhite));
  EXPECT_EQ(QColor(image.pixel(719, 549)), kWhite);
}

TEST(PaintCard, CardFillingTheClientAreaHasNoGrey) {
  struct Case {
    QSize client;
    QPoint offset;
  } cases[] = {
      {QSize(640, 500), QPoint(0, 0)},
      {QSize(500, 400), QPoint(-140, -100)},  // scrolled to the end both ways
      {QSize(641, 500), QPoint(0, 0)},        // one spare column: not centred, left white
  };
  for (const Case& c : cases) {
    const QImage image = Paint(nullptr, c.client, c.offset);
    EXPECT_EQ(testing::CountColour(image, image.rect(), kGrey), 0) << c.client.width();
    EXPECT_EQ(testing::CountColour(image, image.rect(), QColor(1, 2, 3)), 0) << "all painted";
    EXPECT_EQ(QColor(image.pixel(image.width() - 1, 0)), kWhite);
  }
  // Centred along one axis only: grey above and below, none beside.
  const QImage wide = Paint(nullptr, QSize(640, 560), QPoint(0, 30));
  EXPECT_TRUE(AllPixels(wide, QRect(0, 0, 640, 30), kGrey));
  EXPECT_TRUE(AllPixels(wide, QRect(0, 530, 640, 30), kGrey));
  EXPECT_TRUE(AllPixels(wide, QRect(0, 30, 640, 50), kWhite));
}

TEST(PaintCard, SeparatorBarIsLightGrey) {
  const QPoint offset(80, 50);
  const QImage image = Paint(nullptr, QSize(800, 600), offset);
  const QRect bar = Content(offset, cardLayout[ROW_SEPARATOR].rect);
  EXPECT_EQ(bar, QRect(165, 340, 10, 168));
  EXPECT_TRUE(AllPixels(image, bar, kSeparator));
  EXPECT_EQ(QColor(image.pixel(bar.left() - 1, 400)), kWhite);
  EXPECT_EQ(QColor(image.pixel(bar.right() + 1, 400)), kWhite);
}

TEST(PaintCard, LogoAndPhotoAreFittedAndThePhotoHasAShadow) {
  const auto record = SampleRecord({.logo = true, .photo = true});
  const QPoint offset(80, 50);
  const QImage image = Paint(record.get(), QSize(800, 600), offset);
  const QPoint content = offset + QPoint(30, 50);

  // The 400 x 100 logo: 200 x 50 at the content origin.
  EXPECT_TRUE(AllPixels(image, QRect(content, QSize(200, 50)), kLogoColour));
  EXPECT_TRUE(AllPixels(image, QRect(content + QPoint(0, 50), QSize(200, 50)), kWhite));
  EXPECT_EQ(InkCount(image, QRect(content + QPoint(200, 0), QSize(10, 50)), kWhite), 0);

  // The 280 x 360 photo: 140 x 180 at (380, 0), its shadow 8 pixels right and below.
  const QPoint photo = content + QPoint(380, 0);
  EXPECT_TRUE(AllPixels(image, QRect(photo, QSize(140, 180)), kPhotoColour));
  EXPECT_TRUE(AllPixels(image, QRect(photo + QPoint(140, 8), QSize(8, 180)), kGrey));
  EXPECT_TRUE(AllPixels(image, QRect(photo + QPoint(8, 180), QSize(140, 8)), kGrey));
  EXPECT_TRUE(AllPixels(image, QRect(photo + QPoint(140, 0), QSize(8, 8)), kWhite));
  EXPECT_TRUE(AllPixels(image, QRect(photo + QPoint(0, 180), QSize(8, 8)), kWhite));
  EXPECT_EQ(QColor(image.pixel(photo.x() + 148, photo.y() + 100)), kWhite);
}

TEST(PaintCard, NoLogoAndNoPhotoLeaveTheTopWhite) {
  auto record = SampleRecord();
  // An attachment that does not decode gives an empty picture: nothing, not even a shadow.
  record->SetPhoto(ByteBuffer::Copy("not a bitmap", 12));
  ASSERT_TRUE(record->photoPicture);
  const QImage image = Paint(record.get(), QSize(640, 500), QPoint(0, 0));
  // Everything above the company row (content y 120) is white, the picture rows and the shadow's place too.
  EXPECT_TRUE(AllPixels(image, QRect(0, 0, 640, 170), kWhite));
  EXPECT_TRUE(AllPixels(image, QRect(410, 50, 148, 188), kWhite));
}

TEST(PaintCard, TextsAppearInTheirRowsInTheirColours) {
  const auto record = SampleRecord();
  const QImage image = Paint(record.get(), QSize(640, 500), QPoint(0, 0));
  struct Case {
    int row;
    QColor colour;
  } cases[] = {
      {ROW_COMPANY, QColor(255, 0, 0)},     {ROW_ADDRESS_CAPTION, QColor(0, 0, 255)},
      {ROW_WEB_CAPTION, QColor(0, 0, 255)}, {ROW_ADDRESS, QColor(0, 0, 0)},
      {ROW_PHONE, QColor(0, 0, 0)},         {ROW_FAX, QColor(0, 0, 0)},
      {ROW_EMAIL, QColor(0, 0, 255)},       {ROW_WEB_PAGE, QColor(0, 0, 255)},
      {ROW_NAME, QColor(0, 0, 0)},          {ROW_TITLE, QColor(128, 0, 255)},
      {ROW_DEPARTMENT, QColor(128, 0, 255)},
  };
  for (const Case& c : cases) {
    const QRect cell = Content(QPoint(0, 0), cardLayout[static_cast<std::size_t>(c.row)].rect);
    // Antialiased glyphs blend into white, but their cores carry the colour itself.
    EXPECT_GT(InkCount(image, cell, kWhite), 20) << "row " << c.row;
    int exact = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      for (int x = cell.left(); x <= cell.right(); ++x) exact += QColor(image.pixel(x, y)) == c.colour;
    EXPECT_GT(exact, 0) << "row " << c.row;
  }
  // The name is centred in its row.
  const QRect nameCell = Content(QPoint(0, 0), cardLayout[ROW_NAME].rect);
  const QRect name = testing::InkBox(image.copy(nameCell), kWhite);
  EXPECT_NEAR(name.center().x(), nameCell.width() / 2, 3);
  // Captions hug the right edge of their cells.
  const QRect captionCell = Content(QPoint(0, 0), cardLayout[ROW_PHONE_CAPTION].rect);
  EXPECT_GT(testing::InkBox(image.copy(captionCell), kWhite).right(), captionCell.width() - 5);
}

TEST(PaintCard, HomeDetailsAndTheNoteAreNotShown) {
  auto record = SampleRecord({.webPage = false, .email = false});
  const QImage before = Paint(record.get(), QSize(640, 500), QPoint(0, 0));
  record->note = "A note that must not appear";
  record->homePhones[PHONE_VOICE].number = "+1 555 0000";
  record->addresses[SLOT_HOME].street = "2 Elm St";
  record->urls[SLOT_HOME].url = "http://home.example.com/";
  EXPECT_EQ(Paint(record.get(), QSize(640, 500), QPoint(0, 0)), before);
}

TEST(PaintCard, CellFramesShowTheGridOnlyWhenSwitchedOn) {
  const QPoint offset(0, 0);
  const QRect email = Content(offset, cardLayout[ROW_EMAIL].rect);
  const QRect name = Content(offset, cardLayout[ROW_NAME].rect);
  showCellFrames = true;
  const QImage framed = Paint(nullptr, QSize(640, 500), offset);
  showCellFrames = false;
  const QImage plain = Paint(nullptr, QSize(640, 500), offset);
  for (const QRect& cell : {email, name}) {
    EXPECT_TRUE(AllPixels(framed, QRect(cell.left(), cell.top(), cell.width(), 1), kSeparator));
    EXPECT_TRUE(AllPixels(framed, QRect(cell.right(), cell.top(), 1, cell.height()), kSeparator));
    EXPECT_TRUE(AllPixels(plain, QRect(cell.left(), cell.top(), cell.width(), 1), kWhite));
  }
}

}  // namespace
}  // namespace ab
