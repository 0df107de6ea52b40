#include "viewer/CardViewer.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "viewer/CardLayout.h"
#include "ViewerHarness.h"

namespace ab {
namespace {

using testing::ClientImage;
using testing::DragThumbTo;
using testing::SampleRecord;
using testing::ShownRecord;
using testing::ShownViewer;
using testing::SizeClient;

TEST(CardViewerSize, RangesAndCentringFollowTheClientArea) {
  struct Case {
    QSize client;
    int verticalRange, horizontalRange;
    QPoint origin;
  } cases[] = {
      {QSize(500, 400), 100, 140, QPoint(0, 0)},
      {QSize(800, 600), 0, 0, QPoint(80, 50)},
      {QSize(640, 500), 0, 0, QPoint(0, 0)},
      {QSize(641, 503), 0, 0, QPoint(0, 1)},  // half pixels are dropped
      {QSize(300, 700), 0, 340, QPoint(0, 100)},
  };
  const ShownRecord shown(SampleRecord());
  auto viewer = ShownViewer(QSize(640, 500));
  ASSERT_TRUE(viewer);
  for (const Case& c : cases) {
    ASSERT_TRUE(SizeClient(*viewer, c.client)) << c.client.width() << "x" << c.client.height();
    EXPECT_EQ(viewer->verticalRange(), c.verticalRange) << c.client.width();
    EXPECT_EQ(viewer->horizontalRange(), c.horizontalRange) << c.client.width();
    EXPECT_EQ(viewer->verticalScrollBar()->maximum(), c.verticalRange);
    EXPECT_EQ(viewer->horizontalScrollBar()->maximum(), c.horizontalRange);
    EXPECT_EQ(viewer->cardOrigin(), c.origin) << c.client.width();
    // A bar shows only when there is something to scroll.
    EXPECT_EQ(viewer->verticalScrollBar()->isVisible(), c.verticalRange > 0);
    EXPECT_EQ(viewer->horizontalScrollBar()->isVisible(), c.horizontalRange > 0);
  }
}

TEST(CardViewerScroll, StepsAreClampedToTheRange) {
  using Action = QAbstractSlider::SliderAction;
  struct Case {
    int start;
    Action action;
    int expected;
  } cases[] = {
      {98, QAbstractSlider::SliderSingleStepAdd, 100},  // line down moves by 2 ...
      {98, QAbstractSlider::SliderPageStepAdd, 100},    // ... and so does page down
      {5, QAbstractSlider::SliderPageStepSub, 0},
      {50, QAbstractSlider::SliderSingleStepSub, 47},
      {50, QAbstractSlider::SliderSingleStepAdd, 53},
      {50, QAbstractSlider::SliderPageStepAdd, 60},
      {50, QAbstractSlider::SliderPageStepSub, 40},
      {1, QAbstractSlider::SliderSingleStepSub, 0},
      {50, QAbstractSlider::SliderToMinimum, 50},  // top and bottom do not move the card
      {50, QAbstractSlider::SliderToMaximum, 50},
  };
  const ShownRecord shown(SampleRecord());
  auto viewer = ShownViewer(QSize(500, 400));
  ASSERT_TRUE(viewer);
  QScrollBar* bar = viewer->verticalScrollBar();
  for (const Case& c : cases) {
    DragThumbTo(bar, c.start);
    ASSERT_EQ(viewer->verticalPosition(), c.start);
    bar->triggerAction(c.action);
    EXPECT_EQ(viewer->verticalPosition(), c.expected) << "from " << c.start << " action " << c.action;
    EXPECT_EQ(bar->value(), c.expected);
  }
  // The horizontal bar works alike, within its own range of 140.
  DragThumbTo(viewer->horizontalScrollBar(), 135);
  viewer->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(viewer->horizontalPosition(), 140);
  EXPECT_EQ(viewer->verticalPosition(), 50);
}

TEST(CardViewerScroll, TheCardMovesWhenTheThumbIsReleasedNotWhileDragged) {
  const ShownRecord shown(SampleRecord());
  auto viewer = ShownViewer(QSize(500, 400));
  ASSERT_TRUE(viewer);
  QScrollBar* bar = viewer->verticalScrollBar();
  bar->setSliderDown(true);
  bar->setSliderPosition(80);
  EXPECT_EQ(viewer->verticalPosition(), 0);
  bar->setSliderPosition(90);
  EXPECT_EQ(viewer->verticalPosition(), 0);
  bar->setSliderDown(false);
  EXPECT_EQ(viewer->verticalPosition(), 90);
  EXPECT_EQ(viewer->DrawingOffset(), QPoint(0, -90));

  // A position set without a bar action (the bar's own "Scroll here") moves the card too.
  bar->setValue(30);
  EXPECT_EQ(viewer->verticalPosition(), 30);
}

TEST(CardViewerScroll, ScrolledCardIsPaintedAtTheNewOffset) {
  const ShownRecord shown(SampleRecord());
  auto viewer = ShownViewer(QSize(500, 400));
  ASSERT_TRUE(viewer);
  // The separator bar's top-left corner lies at card (85, 290).
  QImage image = ClientImage(*viewer);
  EXPECT_EQ(QColor(image.pixel(85, 290)), QColor(200, 200, 200));
  EXPECT_EQ(QColor(image.pixel(85, 289)), QColor(255, 255, 255));

  DragThumbTo(viewer->verticalScrollBar(), 100);
  viewer->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  ASSERT_EQ(viewer->DrawingOffset(), QPoint(-10, -100));
  image = ClientImage(*viewer);
  EXPECT_EQ(QColor(image.pixel(75, 190)), QColor(200, 200, 200));
  EXPECT_EQ(QColor(image.pixel(75, 189)), QColor(255, 255, 255));
  EXPECT_EQ(QColor(image.pixel(74, 190)), QColor(255, 255, 255));
}

TEST(CardViewerScroll, ShrinkingClampsAndGrowingCentres) {
  const ShownRecord shown(SampleRecord());
  auto viewer = ShownViewer(QSize(500, 400));
  ASSERT_TRUE(viewer);
  DragThumbTo(viewer->verticalScrollBar(), 100);
  DragThumbTo(viewer->horizontalScrollBar(), 140);
  ASSERT_TRUE(SizeClient(*viewer, QSize(600, 450)));
  EXPECT_EQ(viewer->verticalPosition(), 50);
  EXPECT_EQ(viewer->horizontalPosition(), 40);
  EXPECT_EQ(viewer->verticalScrollBar()->value(), 50);
  EXPECT_EQ(viewer->horizontalScrollBar()->value(), 40);

  ASSERT_TRUE(SizeClient(*viewer, QSize(800, 600)));
  EXPECT_EQ(viewer->verticalPosition(), 0);
  EXPECT_EQ(viewer->horizontalPosition(), 0);
  EXPECT_EQ(viewer->DrawingOffset(), QPoint(80, 50));
}

TEST(CardViewerScroll, KeysAndTheWheelDoNotScroll) {
  const ShownRecord shown(SampleRecord());
  auto viewer = ShownViewer(QSize(500, 400));
  ASSERT_TRUE(viewer);
  DragThumbTo(viewer->verticalScrollBar(), 50);
  for (QWidget* target : {static_cast<QWidget*>(viewer->viewport()), static_cast<QWidget*>(viewer->verticalScrollBar())}) {
    QWheelEvent wheel(QPointF(10, 10), target->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
  }
  QTest::keyClick(viewer.get(), Qt::Key_Down);
  QTest::keyClick(viewer.get(), Qt::Key_PageDown);
  QTest::keyClick(viewer->verticalScrollBar(), Qt::Key_Down);
  EXPECT_EQ(viewer->verticalPosition(), 50);
  EXPECT_EQ(viewer->verticalScrollBar()->value(), 50);
}

bool HandOver(CardViewer& viewer, QPoint point) {
  QMouseEvent move(QEvent::MouseMove, QPointF(point), viewer.viewport()->mapToGlobal(QPointF(point)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(viewer.viewport(), &move);
  return viewer.viewport()->cursor().shape() == Qt::BitmapCursor;  // the library's hand, a cursor of its own
}

TEST(CardViewerLinks, HandCursorOnlyOverLinksThatHaveText) {
  const ShownRecord shown(SampleRecord({.webPage = false}));
  auto viewer = ShownViewer(QSize(800, 600));
  ASSERT_TRUE(viewer);
  ClientImage(*viewer);  // the cells get their texts when painted
  ASSERT_EQ(viewer->LinkOffset(), QPoint(110, 100));
  // E-mail row (70, 360, 310, 384) at the link offset: (180, 460) to (420, 484).
  EXPECT_TRUE(HandOver(*viewer, QPoint(180, 460)));
  EXPECT_TRUE(HandOver(*viewer, QPoint(419, 483)));
  EXPECT_FALSE(HandOver(*viewer, QPoint(420, 470)));
  EXPECT_FALSE(HandOver(*viewer, QPoint(300, 484)));  // that is the empty web-page row
  EXPECT_EQ(viewer->viewport()->cursor().shape(), Qt::ArrowCursor);
  EXPECT_FALSE(HandOver(*viewer, QPoint(179, 470)));
  EXPECT_TRUE(HandOver(*viewer, QPoint(300, 470)));
  EXPECT_FALSE(HandOver(*viewer, QPoint(50, 50)));
}

TEST(CardViewerLinks, LinksMoveWithTheScrolledCard) {
  const ShownRecord shown(SampleRecord());
  auto viewer = ShownViewer(QSize(500, 400));
  ASSERT_TRUE(viewer);
  DragThumbTo(viewer->verticalScrollBar(), 100);
  DragThumbTo(viewer->horizontalScrollBar(), 140);
  ClientImage(*viewer);
  ASSERT_EQ(viewer->LinkOffset(), QPoint(-110, -50));
  // E-mail row at (-40, 310) to (200, 334); the web page right below it.
  EXPECT_TRUE(HandOver(*viewer, QPoint(0, 310)));
  EXPECT_FALSE(HandOver(*viewer, QPoint(0, 309)));
  EXPECT_TRUE(HandOver(*viewer, QPoint(199, 357)));
  EXPECT_FALSE(HandOver(*viewer, QPoint(199, 358)));
  EXPECT_FALSE(HandOver(*viewer, QPoint(200, 320)));
}

TEST(CardViewerSoundButton, FollowsTheShownContact) {
  ShownRecord shown(SampleRecord({.sound = true}));
  auto viewer = ShownViewer(QSize(800, 600));
  ASSERT_TRUE(viewer);
  ClientImage(*viewer);
  QPushButton* button = viewer->soundButton();
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->isVisible());
  EXPECT_EQ(button->geometry(), QRect(80 + 458, 50 + 240, 36, 36));
  EXPECT_TRUE(button->text().isEmpty());
  EXPECT_FALSE(button->icon().isNull());  // icon 539 of the library

  // The button follows the card when it scrolls.
  ASSERT_TRUE(SizeClient(*viewer, QSize(500, 400)));
  DragThumbTo(viewer->verticalScrollBar(), 100);
  DragThumbTo(viewer->horizontalScrollBar(), 140);
  ClientImage(*viewer);
  ASSERT_EQ(viewer->soundButton(), button);
  EXPECT_EQ(button->geometry(), QRect(458 - 140, 240 - 100, 36, 36));

  // The hand cursor shows over the button too.
  QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(button, &move);
  EXPECT_EQ(button->cursor().shape(), Qt::BitmapCursor);

  // A contact without a clip: gone at the next paint.
  shown.Replace(SampleRecord());
  ClientImage(*viewer);
  EXPECT_EQ(viewer->soundButton(), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(viewer->viewport()->findChildren<QPushButton*>().isEmpty());

  // And back again with the next contact that has one, at the next paint.
  shown.Replace(SampleRecord({.sound = true}));
  viewer->Invalidate();
  EXPECT_EQ(viewer->soundButton(), nullptr);
  QTest::qWait(50);
  ASSERT_NE(viewer->soundButton(), nullptr);
  EXPECT_EQ(viewer->viewport()->findChildren<QPushButton*>().size(), 1);
}

TEST(CardViewerClass, CreationNeedsTheRegisteredClassAndAMainWindow) {
  QWidget mainWindow;
  mainWindow.resize(900, 700);
  mainWindow.show();
  UnregisterCardViewerClass();
  EXPECT_EQ(CreateCardViewer(&mainWindow, true), nullptr);
  EXPECT_TRUE(mainWindow.findChildren<CardViewer*>().isEmpty());

  ASSERT_EQ(RegisterCardViewerClass(), 1);
  EXPECT_EQ(CreateCardViewer(nullptr, true), nullptr);
  CardViewer* docked = CreateCardViewer(&mainWindow, true);
  ASSERT_NE(docked, nullptr);
  EXPECT_EQ(docked->parentWidget(), &mainWindow);
  EXPECT_EQ(docked->geometry(), QRect(180, 0, 720, 700));
  EXPECT_TRUE(docked->isVisible());
  EXPECT_EQ(docked->objectName(), QStringLiteral("VCardViewWClass"));
  EXPECT_EQ(docked->verticalPosition(), 0);
  EXPECT_EQ(docked->horizontalPosition(), 0);
  delete docked;

  CardViewer* whole = CreateCardViewer(&mainWindow, false);
  ASSERT_NE(whole, nullptr);
  EXPECT_EQ(whole->geometry(), QRect(0, 0, 900, 700));
  delete whole;
}

}  // namespace
}  // namespace ab
