#include "tools/RenderCommand.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "contacts/VCardWriter.h"
#include "support/TempFolder.h"
#include "ViewerHarness.h"

namespace ab {
namespace {

using testing::AllPixels;
using testing::SampleRecord;
using testing::TempFolder;

const QColor kWhite(255, 255, 255);
const QColor kGrey(128, 128, 128);

std::string WriteCard(const TempFolder& folder, const ContactRecord& record, const std::string& name) {
  const std::string path = folder.File(name);
  EXPECT_EQ(SaveAs(record, path), 1);
  return path;
}

// Where a render leaves its image: RENDER_OUTPUT_DIR when set (to look at them), else the test's folder.
std::string OutputFile(const TempFolder& folder, const std::string& name) {
  if (const char* keep = std::getenv("RENDER_OUTPUT_DIR")) return std::string(keep) + "/" + name;
  return folder.File(name);
}

TEST(RenderCommand, PaintsTheCardAsTheViewerDoes) {
  TempFolder folder;
  const auto record = SampleRecord({.logo = true, .photo = true, .sound = true});
  const std::string card = WriteCard(folder, *record, "ann.vcf");
  const std::string out = OutputFile(folder, "ann-800x600.png");
  ASSERT_EQ(RunRender(card, out, 800, 600), 0);

  const QImage image = QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(image.size(), QSize(800, 600));
  EXPECT_TRUE(AllPixels(image, QRect(0, 0, 80, 600), kGrey));
  EXPECT_TRUE(AllPixels(image, QRect(80, 50, 640, 50), kWhite));
  EXPECT_TRUE(AllPixels(image, QRect(110, 100, 200, 50), testing::kLogoColour));
  EXPECT_TRUE(AllPixels(image, QRect(490, 100, 140, 180), testing::kPhotoColour));
  EXPECT_TRUE(AllPixels(image, QRect(165, 340, 10, 168), QColor(200, 200, 200)));
  // The sound button sits below the photo, at card (458, 240).
  EXPECT_GT(testing::InkCount(image, QRect(80 + 458, 50 + 240, 36, 36), kWhite), 100);
  // The current record of the program is left as it was.
  EXPECT_EQ(currentRecord, nullptr);
}

TEST(RenderCommand, DefaultSizeIsTheCardItself) {
  TempFolder folder;
  const std::string card = WriteCard(folder, *SampleRecord(), "plain.vcf");
  const std::string out = OutputFile(folder, "plain-640x500.png");
  ASSERT_EQ(RunRender(card, out, kDefaultRenderWidth, kDefaultRenderHeight), 0);
  const QImage image = QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(image.size(), QSize(640, 500));
  // No margins: the card's own white edges reach the image's edges.
  EXPECT_TRUE(AllPixels(image, QRect(0, 0, 640, 50), kWhite));
  EXPECT_TRUE(AllPixels(image, QRect(600, 0, 40, 500), kWhite));
  EXPECT_TRUE(AllPixels(image, QRect(0, 460, 640, 40), kWhite));
}

// A photo whose top and bottom differ, with a label near its top.
QImage PortraitPhoto() {
  QImage photo(280, 360, QImage::Format_RGB32);
  photo.fill(QColor(60, 60, 220));
  QPainter painter(&photo);
  painter.fillRect(QRect(0, 0, 280, 180), QColor(220, 60, 60));
  painter.setPen(Qt::white);
  painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 40));
  painter.drawText(QRect(0, 20, 280, 80), Qt::AlignCenter, QStringLiteral("TOP"));
  return photo;
}

TEST(RenderCommand, ChineseCardRenders) {
  TempFolder folder;
  auto record = SampleRecord();
  record->SetPhoto(testing::BmpBuffer(PortraitPhoto()));
  record->SetLogo(testing::BmpBuffer(testing::SolidImage(120, 60, QColor(240, 200, 0)), 4));
  record->formattedName = "陳大文";
  record->orgName = "東方電子有限公司";
  record->title = "總經理";
  record->orgUnit = "研究部";
  record->addresses[SLOT_BUSINESS].street = "中山北路二段 100 號";
  record->addresses[SLOT_BUSINESS].locality = "台北市";
  record->addresses[SLOT_BUSINESS].postalCode = "104";
  record->addresses[SLOT_BUSINESS].country = "台灣";
  const std::string card = WriteCard(folder, *record, "chen.vcf");
  const std::string out = OutputFile(folder, "chen-640x500.png");
  ASSERT_EQ(RunRender(card, out, 640, 500), 0);
  const QImage image = QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(image.size(), QSize(640, 500));
  // The name is drawn in its row: black ink between (370, 290) and (590, 362).
  EXPECT_GT(testing::InkCount(image, QRect(370, 290, 220, 72), kWhite), 50);
  // The photo, 140 x 180 at (410, 50), the right way up.
  EXPECT_EQ(QColor(image.pixel(412, 120)), QColor(220, 60, 60));
  EXPECT_EQ(QColor(image.pixel(412, 200)), QColor(60, 60, 220));
  // The 4-bit logo, enlarged to 200 x 100.
  EXPECT_TRUE(AllPixels(image, QRect(30, 50, 200, 100), QColor(240, 200, 0)));
}

TEST(RenderCommand, SmallClientAreaShowsTheCardsTopLeft) {
  TempFolder folder;
  const std::string card = WriteCard(folder, *SampleRecord({.logo = true}), "small.vcf");
  const std::string out = folder.File("small.png");
  ASSERT_EQ(RunRender(card, out, 300, 200), 0);
  const QImage image = QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(image.size(), QSize(300, 200));
  EXPECT_TRUE(AllPixels(image, QRect(30, 50, 200, 50), testing::kLogoColour));
}

TEST(RenderCommand, BadInputGivesOneAndNoImage) {
  TempFolder folder;
  const std::string card = WriteCard(folder, *SampleRecord(), "ok.vcf");
  const std::string garbage = folder.Write("garbage.vcf", "this is no card\n");
  const std::string out = folder.File("out.png");
  EXPECT_EQ(RunRender(folder.File("missing.vcf"), out, 640, 500), 1);
  EXPECT_EQ(RunRender(garbage, out, 640, 500), 1);
  EXPECT_EQ(RunRender(card, out, 0, 500), 1);
  EXPECT_EQ(RunRender(card, out, 640, 100000), 1);
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(RunRender(card, folder.File("no/such/folder/out.png"), 640, 500), 1);
}

}  // namespace
}  // namespace ab
