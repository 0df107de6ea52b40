// What the card shows of a record: the texts of its rows and how it is painted.
#include "viewer/CardPaint.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/ResourceLibrary.h"
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

// Margins only around a card smaller than the client area; the pictures in their cells; a text in
// every text row; the cell frames only when switched on.
TEST(PaintCard, MarginsPicturesTextsAndFramesOnlyWhenSwitchedOn) {
  const auto pictures = testing::SampleRecord({.logo = true, .photo = true});
  const QImage centred = Paint(pictures.get(), {800, 600}, {80, 50});
  const QImage scrolled = Paint(nullptr, {500, 400}, {-140, -100});
  const struct { const char* name; QRect area; QColor colour; } cases[] = {
      {"margin", {0, 0, 80, 600}, kMarginGrey}, {"top strip", {80, 50, 640, 50}, kCardWhite},
      {"logo", {110, 100, 200, 50}, testing::kLogoColour}, {"shadow", {630, 108, 8, 180}, kMarginGrey},
      {"photo", {490, 100, 140, 180}, testing::kPhotoColour},
  };
  for (const auto& c : cases) EXPECT_TRUE(AllPixels(centred, c.area, c.colour)) << c.name;
  EXPECT_EQ(InkCount(scrolled, scrolled.rect(), kMarginGrey), 500 * 400) << "no margin beside a larger card";
  for (int row = ROW_COMPANY; row < kCardRows; ++row)
    EXPECT_GT(InkCount(centred, Cell(row).translated(80, 50), kCardWhite), 20) << "row " << row;
  showCellFrames = true;
  const QImage framed = Paint(nullptr);
  showCellFrames = false;
  const QRect top(Cell(ROW_EMAIL).topLeft(), QSize(Cell(ROW_EMAIL).width(), 1));
  EXPECT_TRUE(AllPixels(framed, top, kGridGrey) && AllPixels(Paint(nullptr), top, kCardWhite));
}

// Decoded texts cut to the card's buffers; the preferred e-mail, not the first; home details not at all.
TEST(CardTexts, CellsShowTheDecodedTextsCutToTheCardsBuffers) {
  auto record = testing::SampleRecord({.logo = true, .photo = true});
  record->orgName = "Smith\x02\x02Jones";  // a stored semicolon
  record->title = "Line one\x01\x01Line two";
  record->addresses[SLOT_BUSINESS].street = "Unit 2\x01\x01" "1 Main St";
  record->orgUnit = std::string(100, 'c');
  record->workPhones[PHONE_FAX].number = std::string(39, '5');
  std::string name;
  for (int i = 0; i < 140; ++i) name += "陳";
  record->formattedName = name;  // the record holds 128 of them
  record->addresses[SLOT_HOME].street = "2 Elm St";
  CardCells cells;
  FillCardCells(cells, record.get());
  std::vector<std::string> texts;  // "" for the picture and separator rows
  for (const LayoutCell& cell : cells.cardCells) texts.emplace_back(cell.text() ? cell.text() : "");
  const std::vector<std::string> expected = {
      "", "", "Smith;Jones", "", "Address:", "Phone:", "Fax:", "E-Mail:", "Web Page:",
      "Unit 2\r\n1 Main St, Springfield, K1A 0B1, USA", "+1 555 0100", std::string(19, '5'),
      "ann.smith@example.org", "http://www.example.com/", name.substr(0, 127 * 3), "Line one\r\nLine two",
      std::string(63, 'c')};
  EXPECT_EQ(texts, expected);
  EXPECT_EQ(cells.pictureCells[0].picture(), record->logoPicture.get());
  EXPECT_EQ(cells.pictureCells[1].picture(), record->photoPicture.get());
}

}  // namespace
}  // namespace ab
