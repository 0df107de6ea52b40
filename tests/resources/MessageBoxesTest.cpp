// The warning and question boxes, answered while they run.
#include "resources/MessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "resources/ResourceLibrary.h"
#include "support/BundlePaths.h"
#include "support/DialogAnswers.h"

namespace ab {
namespace {

// Text and caption are read into buffers of 255 and 32 bytes, and shown as plain text.
TEST(MessageBoxes, ShowTheirStringUnderCaptionSixAndAnswer) {
  // bundle null: no library; shown: icon, buttons, default button, format, caption | text
  struct Case { bool question; int stringId; const char* bundle; int key, result; std::string shown; };
  const std::string product = LoadResourceLibrary(test::ProductBundle()) ? LoadResourceString(6) : "";
  const std::string question = "4 14000 4000 0 " + product + "|" + LoadResourceString(38);
  const Case cases[] = {
      {false, 7, AB_TEST_BUNDLE, Qt::Key_Return, kResultOk, "2 400 400 0 A caption much longer than thir|Less <b>than</b> & more"},
      {true, 38, AB_PRODUCT_BUNDLE, Qt::Key_Y, kResultYes, question},
      {true, 38, nullptr, Qt::Key_Escape, kResultNo, "4 14000 4000 0 |"},
  };
  QWidget owner;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    EXPECT_EQ(c.bundle ? LoadResourceLibrary(QString::fromUtf8(c.bundle)) : (FreeResourceLibrary(), true), true);
    std::string shown;
    testing::AnswerModal<QMessageBox>([&](QMessageBox* box) {
      shown = QString::asprintf("%d %x %x %d ", box->icon(), unsigned(box->standardButtons()),
                                unsigned(box->standardButton(box->defaultButton())), box->textFormat() - Qt::PlainText)
                  .toStdString() + box->windowTitle().toStdString() + "|" + box->text().toStdString();
      QTest::keyClick(box, Qt::Key(c.key));
    });
    EXPECT_EQ(c.question ? AskYesNo(&owner, c.stringId) : ShowWarning(&owner, c.stringId), c.result);
    EXPECT_EQ(shown, c.shown);
  }
}

}  // namespace
}  // namespace ab
