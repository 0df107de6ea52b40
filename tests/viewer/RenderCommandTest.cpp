#include "tools/RenderCommand.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "support/TempFolder.h"
#include "ViewerHarness.h"

namespace ab {
namespace {

// The card as the viewer shows it, with its sound button; bad input gives 1 and no image.
TEST(RenderCommand, PaintsTheCardAsTheViewerShowsIt) {
  testing::TempFolder folder;
  const std::string card = folder.File("ann.vcf"), out = folder.File("ann.png");
  ASSERT_EQ(SaveAs(*testing::SampleRecord({.logo = true, .photo = true, .sound = true}), card), 1);
  const std::tuple<std::string, std::string, int, int> bad[] = {
      {folder.File("missing.vcf"), out, 640, 500}, {folder.Write("garbage.vcf", "this is no card\n"), out, 640, 500},
      {card, out, 0, 500}, {card, out, 640, 100000}, {card, folder.File("no/such/folder/out.png"), 640, 500}};
  for (const auto& [input, output, width, height] : bad) {
    EXPECT_EQ(RunRender(input, output, width, height), 1) << input << " " << width << "x" << height;
    EXPECT_FALSE(std::filesystem::exists(output));
  }
  ASSERT_EQ(RunRender(card, out, 800, 600), 0);
  EXPECT_EQ(currentRecord, nullptr) << "the program's current record is left as it was";
  QImage image = QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_RGB32);

  const testing::ShownRecord shown(std::make_unique<ContactRecord>());
  ASSERT_EQ(ReadCard(*currentRecord, card), 1);
  auto viewer = testing::ShownViewer(QSize(800, 600));
  ASSERT_TRUE(viewer);
  QImage expected = testing::ClientImage(*viewer);
  // The sound button is a child widget, which the viewport's own picture leaves out.
  const QRect button(80 + 458, 50 + 240, 36, 36);
  EXPECT_GT(testing::InkCount(image, button, kCardWhite), 100);
  for (QImage* i : {&image, &expected}) QPainter(i).fillRect(button, kCardWhite);
  EXPECT_EQ(image, expected);
}

}  // namespace
}  // namespace ab
