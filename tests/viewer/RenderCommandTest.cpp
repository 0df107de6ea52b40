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

TEST(RenderCommand, PaintsTheCardAsTheViewerShowsIt) {
  testing::TempFolder folder;
  for (const testing::RecordOptions options : {testing::RecordOptions{.logo = true, .photo = true},
                                               testing::RecordOptions{.sound = true}}) {
    SCOPED_TRACE(options.sound);
    const std::string card = folder.File("ann.vcf"), out = folder.File("ann.png");
    ASSERT_EQ(SaveAs(*testing::SampleRecord(options), card), 1);
    ASSERT_EQ(RunRender(card, out, 800, 600), 0);
    EXPECT_EQ(currentRecord, nullptr) << "the program's current record is left as it was";
    QImage image = QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_RGB32);

    auto record = std::make_unique<ContactRecord>();
    ASSERT_EQ(ReadCard(*record, card), 1);
    const testing::ShownRecord shown(std::move(record));
    auto viewer = testing::ShownViewer(QSize(800, 600));
    ASSERT_TRUE(viewer);
    QImage expected = testing::ClientImage(*viewer);
    // The sound button is a child widget, which the viewport's own picture leaves out.
    const QRect button(80 + 458, 50 + 240, 36, 36);
    EXPECT_EQ(testing::InkCount(image, button, kCardWhite) > 100, options.sound);
    for (QImage* i : {&image, &expected}) QPainter(i).fillRect(button, kCardWhite);
    EXPECT_EQ(image, expected);
  }
}

TEST(RenderCommand, BadInputGivesOneAndNoImage) {
  testing::TempFolder folder;
  const std::string card = folder.File("ok.vcf"), out = folder.File("out.png");
  ASSERT_EQ(SaveAs(*testing::SampleRecord(), card), 1);
  const std::tuple<std::string, std::string, int, int> cases[] = {
      {folder.File("missing.vcf"), out, 640, 500},
      {folder.Write("garbage.vcf", "this is no card\n"), out, 640, 500},
      {card, out, 0, 500},
      {card, out, 640, 100000},
      {card, folder.File("no/such/folder/out.png"), 640, 500},
  };
  for (const auto& [input, output, width, height] : cases) {
    EXPECT_EQ(RunRender(input, output, width, height), 1) << input << " " << width << "x" << height;
    EXPECT_FALSE(std::filesystem::exists(output));
  }
}

}  // namespace
}  // namespace ab
