// Clicks on the card's links reach the shell: the web page through the URL
// opener, the e-mail address through the popup menu's two commands.

#include <QAction>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

#include "resources/ResourceLibrary.h"
#include "shell/Registry.h"
#include "viewer/CardViewer.h"
#include "support/DialogAnswers.h"
#include "LinkSandbox.h"
#include "ViewerHarness.h"

namespace ab {
namespace {

using testing::AnswerPopup;
using testing::ClientImage;
using testing::LinkSandbox;
using testing::SampleRecord;
using testing::ShownRecord;
using testing::ShownViewer;

// In an 800 x 600 client area the links start at (110, 100): the e-mail row
// covers (180, 460) to (420, 484), the web-page row (180, 484) to (420, 508).
const QPoint kOnEmail(200, 470);
const QPoint kOnWebPage(200, 495);

struct PopupSeen {
  bool shown = false;
  bool sendEnabled = false;
  bool composeEnabled = false;
};

// Answers the popup by choosing the command `choose` (0: dismiss it with Escape).
void AnswerEmailPopup(PopupSeen& seen, int choose, QObject* context) {
  AnswerPopup([&seen, choose](QMenu* menu) {
    seen.shown = true;
    QAction* chosen = nullptr;
    for (QAction* action : menu->actions()) {
      if (action->data().toInt() == kSendViaSiblingMailCommand) seen.sendEnabled = action->isEnabled();
      if (action->data().toInt() == kComposeMailCommand) seen.composeEnabled = action->isEnabled();
      if (action->data().toInt() == choose && action->isEnabled()) chosen = action;
    }
    if (chosen != nullptr) {
      menu->setActiveAction(chosen);
      QTest::keyClick(menu, Qt::Key_Return);
    } else {
      QTest::keyClick(menu, Qt::Key_Escape);
    }
  }, context);
}

class CardLinks : public ::testing::Test {
 protected:
  void SetUp() override {
    viewer = ShownViewer(QSize(800, 600));
    ASSERT_TRUE(viewer);
    ClientImage(*viewer);
  }
  void Click(QPoint point) {
    QTest::mouseClick(viewer->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QCoreApplication::processEvents();  // the chosen command comes as a message of its own
  }

  LinkSandbox sandbox;
  ShownRecord shown{SampleRecord()};
  std::unique_ptr<CardViewer> viewer;
};

TEST_F(CardLinks, WebPageOpensInTheBrowser) {
  Click(kOnWebPage);
  const auto calls = sandbox.WaitForCalls(1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], "http://www.example.com/\n");
  EXPECT_EQ(testing::TempFolder::Read(sandbox.TempFile("vtwww.url")), "[InternetShortCut]\r\nURL=http://www.example.com/\r\n");
}

TEST_F(CardLinks, ClicksBesideTheLinksDoNothing) {
  for (QPoint point : {QPoint(179, 470), QPoint(420, 495), QPoint(200, 508), QPoint(400, 300)}) Click(point);
  EXPECT_TRUE(sandbox.CallsAfterGracePeriod().empty());
  EXPECT_EQ(viewer->clickedEmail(), "");
}

TEST_F(CardLinks, EmptyWebPageIsNoLink) {
  shown.Replace(SampleRecord({.webPage = false}));
  ClientImage(*viewer);
  Click(kOnWebPage);
  EXPECT_TRUE(sandbox.CallsAfterGracePeriod().empty());
}

TEST_F(CardLinks, EmailPopupComposesWithTheMailHandler) {
  PopupSeen seen;
  AnswerEmailPopup(seen, kComposeMailCommand, viewer.get());
  Click(kOnEmail);
  ASSERT_TRUE(seen.shown);
  EXPECT_TRUE(seen.sendEnabled);
  EXPECT_TRUE(seen.composeEnabled);
  EXPECT_EQ(viewer->clickedEmail(), "ann.smith@example.org");
  const auto calls = sandbox.WaitForCalls(1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], "mailto:ann.smith@example.org\n");
}

TEST_F(CardLinks, EmailPopupSendsWithTheSiblingProgram) {
  PopupSeen seen;
  AnswerEmailPopup(seen, kSendViaSiblingMailCommand, viewer.get());
  Click(kOnEmail);
  ASSERT_TRUE(seen.shown);
  // The sibling program is not installed here, but the address is handed over.
  std::string handedOver;
  EXPECT_EQ(ReadRegistryValue("Software\\Vantoro\\ZiziZizi", "e-mail address", handedOver), 0);
  EXPECT_EQ(handedOver, "ann.smith@example.org");
  EXPECT_TRUE(sandbox.CallsAfterGracePeriod().empty());
}

TEST_F(CardLinks, WithoutAUrlOpenerTheMailHandlerCommandIsGreyed) {
  sandbox.RemoveOpener();
  PopupSeen seen;
  AnswerEmailPopup(seen, kComposeMailCommand, viewer.get());
  Click(kOnEmail);
  ASSERT_TRUE(seen.shown);
  EXPECT_TRUE(seen.sendEnabled);
  EXPECT_FALSE(seen.composeEnabled);
  std::string handedOver = "<unset>";
  ReadRegistryValue("Software\\Vantoro\\ZiziZizi", "e-mail address", handedOver);
  EXPECT_EQ(handedOver, "<unset>");  // the dismissed popup ran no command
}

TEST_F(CardLinks, DismissedPopupRunsNothing) {
  PopupSeen seen;
  AnswerEmailPopup(seen, 0, viewer.get());
  Click(kOnEmail);
  ASSERT_TRUE(seen.shown);
  EXPECT_TRUE(sandbox.CallsAfterGracePeriod().empty());
}

TEST_F(CardLinks, WithoutMenu153TheClickStopsSilently) {
  ASSERT_TRUE(FreeResourceLibrary());
  PopupSeen seen;
  AnswerEmailPopup(seen, kComposeMailCommand, viewer.get());
  Click(kOnEmail);
  const std::string clicked = viewer->clickedEmail();
  QTest::qWait(100);  // time for a popup that should not be there
  ASSERT_TRUE(LoadResourceLibrary(QStringLiteral(AB_PRODUCT_BUNDLE)));
  EXPECT_FALSE(seen.shown);
  EXPECT_EQ(clicked, "ann.smith@example.org");
  EXPECT_TRUE(sandbox.CallsAfterGracePeriod().empty());
}

}  // namespace
}  // namespace ab
