// Clicks on the card's links reach the shell: the web page through the URL
// opener, the e-mail address through the popup menu's two commands.

#include <QAction>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

#include "resources/ResourceLibrary.h"
#include "shell/Registry.h"
#include "shell/ShellSandbox.h"
#include "support/DialogAnswers.h"
#include "ViewerHarness.h"

namespace ab {
namespace {

// In an 800 x 600 client area the e-mail row covers (180, 460) to (420, 484), the web page the next 24 rows.
const QPoint kOnEmail(200, 470), kOnWebPage(200, 495);

class CardLinks : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(viewer = testing::ShownViewer(QSize(800, 600))); }
  void Click(QPoint point) {
    testing::ClientImage(*viewer);
    QTest::mouseClick(viewer->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QCoreApplication::processEvents();  // the chosen command comes as a message of its own
  }
  testing::ShellSandbox sandbox;
  testing::ShownRecord shown{testing::SampleRecord()};
  std::unique_ptr<CardViewer> viewer;
};

TEST_F(CardLinks, WebPageOpensInTheBrowserAndNothingElseIsALink) {
  Click(kOnWebPage);
  ASSERT_EQ(sandbox.Calls(1), std::vector<std::string>{"http://www.example.com/\n"});
  EXPECT_EQ(sandbox.Read(sandbox.TempDir() + "/vtwww.url"), "[InternetShortCut]\r\nURL=http://www.example.com/\r\n");
  for (QPoint point : {QPoint(179, 470), QPoint(420, 495), QPoint(200, 508), QPoint(400, 300)}) Click(point);
  shown.Replace(testing::SampleRecord({.webPage = false}));
  Click(kOnWebPage);
  EXPECT_TRUE(sandbox.Calls(0).empty());
  EXPECT_EQ(viewer->clickedEmail(), "");
}

// The popup offers both commands (compose greyed without an opener) and runs the chosen one;
// without the menu resource the click stops silently.
TEST_F(CardLinks, EmailPopupRunsTheChosenCommand) {
  const struct { const char* name; int choose; bool opener, menu; std::string call, handedOver; } cases[] = {
      {"dismissed", 0, true, true, "", ""},
      {"compose", kComposeMailCommand, true, true, "mailto:ann.smith@example.org\n", ""},
      {"compose greyed without an opener", kComposeMailCommand, false, true, "", ""},
      {"no menu resource", kSendViaSiblingMailCommand, true, false, "", ""},
      {"send with the sibling program", kSendViaSiblingMailCommand, true, true, "", "ann.smith@example.org"},  // last: it stays
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ::setenv("PATH", (sandbox.Path(c.opener ? "bin" : "empty-bin") + ":/usr/bin:/bin").c_str(), 1);
    if (!c.menu) {
      ASSERT_TRUE(FreeResourceLibrary());
    }
    bool popped = false, sendEnabled = false, composeEnabled = false;
    testing::AnswerPopup([&, choose = c.choose](QMenu* menu) {
      popped = true;
      QAction* chosen = nullptr;
      for (QAction* action : menu->actions()) {
        if (action->data().toInt() == kSendViaSiblingMailCommand) sendEnabled = action->isEnabled();
        if (action->data().toInt() == kComposeMailCommand) composeEnabled = action->isEnabled();
        if (action->data().toInt() == choose && action->isEnabled()) chosen = action;
      }
      menu->setActiveAction(chosen);
      QTest::keyClick(menu, chosen ? Qt::Key_Return : Qt::Key_Escape);
    }, viewer.get());
    Click(kOnEmail);
    if (!c.menu) QTest::qWait(100);  // time for a popup that should not be there
    ASSERT_TRUE(LoadResourceLibrary(QStringLiteral(AB_PRODUCT_BUNDLE)));
    EXPECT_EQ(popped && sendEnabled, c.menu);
    EXPECT_EQ(composeEnabled, c.opener && c.menu);
    EXPECT_EQ(viewer->clickedEmail(), "ann.smith@example.org");
    EXPECT_EQ(sandbox.Calls(c.call.empty() ? 0 : 1), c.call.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.call});
    std::string handedOver;
    ReadRegistryValue("Software\\Vantoro\\ZiziZizi", "e-mail address", handedOver);
    EXPECT_EQ(handedOver, c.handedOver);
  }
}

}  // namespace
}  // namespace ab
