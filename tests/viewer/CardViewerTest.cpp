#include "viewer/CardViewer.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "resources/ResourceLibrary.h"
#include "shell/Registry.h"
#include "shell/ShellSandbox.h"
#include "support/DialogAnswers.h"
#include "ViewerHarness.h"

namespace ab {
namespace {

using testing::ClientImage;
using testing::SampleRecord;

// A viewer on the sample card whose client area is 500 x 400: ranges 100 down and 140 across.
class CardViewerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(viewer = testing::ShownViewer(QSize(500, 400))); }
  void Click(QPoint point) {
    ClientImage(*viewer);
    QTest::mouseMove(viewer->viewport(), point);
    EXPECT_EQ(viewer->viewport()->cursor().shape(), Qt::BitmapCursor) << "the library's hand over a link";
    QTest::mouseClick(viewer->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QCoreApplication::processEvents();  // the chosen command comes as a message of its own
  }
  testing::ShellSandbox sandbox;
  testing::ShownRecord shown{SampleRecord()};
  std::unique_ptr<CardViewer> viewer;
};

// In an 800 x 600 client area the e-mail row covers (180, 460) to (420, 484), the web page the next 24 rows.
const QPoint kOnEmail(200, 470), kOnWebPage(200, 495);

// Steps are clamped to the range; the card follows the thumb and "Scroll here", but no keys or wheel.
TEST_F(CardViewerTest, BarsMoveThePaintedCardByClampedSteps) {
  using A = QAbstractSlider;
  const std::tuple<int, A::SliderAction, int> cases[] = {
      {98, A::SliderSingleStepAdd, 100}, {98, A::SliderPageStepAdd, 100}, {5, A::SliderPageStepSub, 0},
      {50, A::SliderSingleStepSub, 47}, {50, A::SliderPageStepAdd, 60},
      {50, A::SliderToMinimum, 50}, {50, A::SliderToMaximum, 50}};  // top and bottom do not move the card
  QScrollBar* bar = viewer->verticalScrollBar();
  for (const auto& [start, action, end] : cases) {
    testing::DragThumbTo(bar, start);
    bar->triggerAction(action);
    EXPECT_EQ(std::pair(viewer->verticalPosition(), bar->value()), std::pair(end, end)) << start << " action " << action;
  }
  bar->setValue(100);
  QWidget* area = viewer->viewport();
  QWheelEvent wheel(QPointF(10, 10), area->mapToGlobal(QPointF(10, 10)), {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
  QApplication::sendEvent(area, &wheel);
  QTest::keyClick(bar, Qt::Key_PageUp);
  QTest::keyClick(viewer.get(), Qt::Key_Up);
  EXPECT_EQ(std::pair(viewer->verticalPosition(), bar->value()), std::pair(100, 100));
  testing::DragThumbTo(viewer->horizontalScrollBar(), 135);
  viewer->horizontalScrollBar()->triggerAction(A::SliderPageStepAdd);
  EXPECT_EQ(viewer->DrawingOffset(), QPoint(-140, -100));
}

// The button comes with a clip and goes at the next paint without one.
TEST_F(CardViewerTest, SoundButtonFollowsTheShownContact) {
  shown.Replace(SampleRecord({.sound = true}));
  ClientImage(*viewer);
  ASSERT_NE(viewer->soundButton(), nullptr);
  EXPECT_TRUE(viewer->soundButton()->isVisible() && !viewer->soundButton()->icon().isNull());
  shown.Replace(SampleRecord());
  ClientImage(*viewer);
  EXPECT_EQ(viewer->soundButton(), nullptr);
}

// The web page opens in the browser; the e-mail popup offers both commands (compose greyed without an
// opener) and runs the chosen one; without the menu resource the click stops silently.
TEST_F(CardViewerTest, ClicksOnLinksReachTheShell) {
  const std::string address = "ann.smith@example.org";
  const struct { const char* name; QPoint point; int choose; bool opener, menu; std::string call, handed; }
      cases[] = {
      {"web page", kOnWebPage, 0, true, true, "http://www.example.com/\n", ""},
      {"compose", kOnEmail, kComposeMailCommand, true, true, "mailto:" + address + "\n", ""},
      {"compose greyed without an opener", kOnEmail, kComposeMailCommand, false, true, "", ""},
      {"no menu resource", kOnEmail, kSendViaSiblingMailCommand, true, false, "", ""},
      // Last: what it hands over stays.
      {"send with the sibling program", kOnEmail, kSendViaSiblingMailCommand, true, true, "", address},
  };
  ASSERT_TRUE(testing::SizeClient(*viewer, QSize(800, 600)));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ::setenv("PATH", (sandbox.Path(c.opener ? "bin" : "empty-bin") + ":/usr/bin:/bin").c_str(), 1);
    if (!c.menu) FreeResourceLibrary();
    bool popped = false, composeEnabled = false;
    testing::AnswerPopup([&, choose = c.choose](QMenu* menu) {
      popped = true;
      composeEnabled = FindCommandAction(menu, kComposeMailCommand)->isEnabled();
      QAction* chosen = FindCommandAction(menu, choose);
      const bool take = chosen && chosen->isEnabled();
      menu->setActiveAction(take ? chosen : nullptr);
      QTest::keyClick(menu, take ? Qt::Key_Return : Qt::Key_Escape);
    }, viewer.get());
    Click(c.point);
    QTest::qWait(c.menu && c.point == kOnEmail ? 0 : 100);  // time for a popup that should not be there
    ASSERT_TRUE(LoadResourceLibrary(QStringLiteral(AB_PRODUCT_BUNDLE)));
    const bool email = c.point == kOnEmail;
    EXPECT_EQ(std::tuple(popped, composeEnabled, viewer->clickedEmail()),
              std::tuple(c.menu && email, c.opener && c.menu && email, email ? address : std::string()));
    EXPECT_EQ(sandbox.Calls(c.call.empty() ? 0 : 1), c.call.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.call});
    std::string handedOver;
    ReadRegistryValue("Software\\Vantoro\\ZiziZizi", "e-mail address", handedOver);
    EXPECT_EQ(handedOver, c.handed);
  }
}

TEST(CardViewerClass, CreationNeedsTheRegisteredClassAndAMainWindow) {
  QWidget mainWindow;
  mainWindow.resize(900, 700);
  mainWindow.show();
  UnregisterCardViewerClass();
  EXPECT_EQ(CreateCardViewer(&mainWindow, true), nullptr);
  ASSERT_EQ(RegisterCardViewerClass(), 1);
  EXPECT_EQ(CreateCardViewer(nullptr, true), nullptr);
  for (auto [docked, geometry] : {std::pair{true, QRect(180, 0, 720, 700)}, {false, QRect(0, 0, 900, 700)}}) {
    std::unique_ptr<CardViewer> viewer(CreateCardViewer(&mainWindow, docked));
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(std::tuple(viewer->parentWidget(), viewer->geometry(), viewer->isVisible()), std::tuple(&mainWindow, geometry, true));
  }
}

}  // namespace
}  // namespace ab
