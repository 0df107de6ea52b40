// The warning and question boxes, answered from a timer while they run.
#include "resources/MessageBoxes.h"

#include "support/BundlePaths.h"
#include "resources/ResourceLibrary.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace ab {
namespace {

// What the box showed while it was open.
struct SeenBox {
  bool shown = false;
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
  Qt::TextFormat format = Qt::AutoText;
  QWidget* owner = nullptr;
};

enum class Answer { Ok, Yes, No, Escape };

// Waits for the next modal message box, records it and answers it. The timer
// polls because the box becomes the modal widget only once its loop runs.
void AnswerNextBox(Answer answer, SeenBox* seen) {
  auto* timer = new QTimer;
  timer->setInterval(0);
  QObject::connect(timer, &QTimer::timeout, [timer, seen, answer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    timer->stop();
    timer->deleteLater();
    seen->shown = true;
    seen->caption = box->windowTitle();
    seen->text = box->text();
    seen->icon = box->icon();
    seen->buttons = box->standardButtons();
    seen->defaultButton = box->standardButton(box->defaultButton());
    seen->format = box->textFormat();
    seen->owner = box->parentWidget();
    switch (answer) {
      case Answer::Ok: QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton); break;
      case Answer::Yes: QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton); break;
      case Answer::No: QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton); break;
      case Answer::Escape: QTest::keyClick(box, Qt::Key_Escape); break;
    }
  });
  timer->start();
}

class MessageBoxesTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (resourceLibrary != nullptr) FreeResourceLibrary();
  }
  // Runs `show` with the next box answered, and returns what the box showed.
  SeenBox Run(Answer answer, const std::function<int()>& show, int* result) {
    SeenBox seen;
    AnswerNextBox(answer, &seen);
    *result = show();
    return seen;
  }
};

TEST_F(MessageBoxesTest, WarningShowsItsStringWithCaptionSixAndOk) {
  ASSERT_TRUE(LoadResourceLibrary(test::ProductBundle()));
  QWidget owner;
  int result = 0;
  const SeenBox box = Run(Answer::Ok, [&] { return ShowWarning(&owner, 29); }, &result);
  ASSERT_TRUE(box.shown);
  EXPECT_EQ(result, kResultOk);
  EXPECT_EQ(box.caption, QString::fromStdString(LoadResourceString(6)));
  EXPECT_EQ(box.text, QString::fromStdString(LoadResourceString(29)));
  EXPECT_FALSE(box.text.isEmpty());
  EXPECT_EQ(box.icon, QMessageBox::Warning);
  EXPECT_EQ(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  EXPECT_EQ(box.owner, &owner);
}

TEST_F(MessageBoxesTest, QuestionAnswersSixForYesAndSevenOtherwise) {
  ASSERT_TRUE(LoadResourceLibrary(test::ProductBundle()));
  const std::pair<Answer, int> cases[] = {
      {Answer::Yes, kResultYes},
      {Answer::No, kResultNo},
      {Answer::Escape, kResultNo},
  };
  for (const auto& [answer, expected] : cases) {
    SCOPED_TRACE(expected);
    int result = 0;
    const SeenBox box = Run(answer, [] { return AskYesNo(nullptr, 38); }, &result);
    ASSERT_TRUE(box.shown);
    EXPECT_EQ(result, expected);
    EXPECT_EQ(box.caption, QString::fromStdString(LoadResourceString(6)));
    EXPECT_EQ(box.text, QString::fromStdString(LoadResourceString(38)));
    EXPECT_EQ(box.icon, QMessageBox::Question);
    EXPECT_EQ(box.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.defaultButton, QMessageBox::Yes);
    EXPECT_EQ(box.owner, nullptr);
  }
  EXPECT_EQ(kResultYes, 6);
  EXPECT_EQ(kResultNo, 7);
}

// Text and caption are read into buffers of 255 and 32 bytes.
TEST_F(MessageBoxesTest, TextAndCaptionAreCutToTheirBuffers) {
  ASSERT_TRUE(LoadResourceLibrary(test::TestBundle()));
  ASSERT_GT(LoadResourceString(6).size(), 31u);
  ASSERT_GT(LoadResourceString(300).size(), 254u);
  int result = 0;
  const SeenBox warning = Run(Answer::Ok, [] { return ShowWarning(nullptr, 300); }, &result);
  ASSERT_TRUE(warning.shown);
  EXPECT_EQ(warning.caption, QString::fromStdString(LoadResourceString(6).substr(0, 31)));
  // The 254-byte limit falls inside an "é", which is dropped whole.
  EXPECT_EQ(warning.text, QString(253, QLatin1Char('a')));

  const SeenBox question = Run(Answer::Yes, [] { return AskYesNo(nullptr, 300); }, &result);
  ASSERT_TRUE(question.shown);
  EXPECT_EQ(result, kResultYes);
  EXPECT_EQ(question.caption, warning.caption);
  EXPECT_EQ(question.text, warning.text);
}

TEST_F(MessageBoxesTest, TextIsShownAsPlainText) {
  ASSERT_TRUE(LoadResourceLibrary(test::TestBundle()));
  int result = 0;
  const SeenBox box = Run(Answer::Ok, [] { return ShowWarning(nullptr, 7); }, &result);
  ASSERT_TRUE(box.shown);
  EXPECT_EQ(box.text, QStringLiteral("Less <b>than</b> & more"));
  EXPECT_EQ(box.format, Qt::PlainText);
}

TEST_F(MessageBoxesTest, WithoutALibraryTheBoxesShowNoTexts) {
  ASSERT_EQ(resourceLibrary, nullptr);
  int result = 0;
  const SeenBox warning = Run(Answer::Ok, [] { return ShowWarning(nullptr, 29); }, &result);
  ASSERT_TRUE(warning.shown);
  EXPECT_EQ(result, kResultOk);
  EXPECT_TRUE(warning.text.isEmpty());
  EXPECT_TRUE(warning.caption.isEmpty());

  const SeenBox question = Run(Answer::No, [] { return AskYesNo(nullptr, 38); }, &result);
  ASSERT_TRUE(question.shown);
  EXPECT_EQ(result, kResultNo);
  EXPECT_TRUE(question.text.isEmpty());
}

}  // namespace
}  // namespace ab
