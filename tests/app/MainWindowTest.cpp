// The main window: its menu, the list's popup, the command dispatcher, the
// information dialog and the orderly end.
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>

#include "AppHarness.h"
#include "app/CommandIds.h"
#include "app/InfoDialog.h"
#include "shell/ShellSandbox.h"

namespace ab::testing {
namespace {

class MainWindowTest : public TwentyContactsTest {
 protected:

  // Right-clicks `at` in `widget`; the popup's command items as "id+" (enabled) or "id-",
  // and picks the item of `choose`.
  std::string RightClick(QAbstractScrollArea* widget, QPoint at, int choose = 0) {
    std::string items;
    AnswerPopup([&items, choose](QMenu* menu) {
      for (QAction* action : menu->actions()) {
        if (action->isSeparator()) continue;
        items += std::to_string(action->data().toInt()) + (action->isEnabled() ? "+ " : "- ");
        if (action->data().toInt() == choose) menu->setActiveAction(action);
      }
      if (choose) QTest::keyClick(menu, Qt::Key_Return);
      menu->close();  // when nothing was chosen
    }, window_.get(), 30);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->viewport()->mapToGlobal(at));
    QApplication::sendEvent(widget->viewport(), &event);
    QTest::qWait(items.empty() ? 400 : 0);
    return items;
  }
  static QPoint RowCentre(int row) { return View()->visualRect(listWindow->model()->index(row, 0)).center(); }
};

// Mail To is grey without an opener; Exit releases the window, its lists and the library and writes nothing.
TEST_F(MainWindowTest, IsTheAddressBookWindowAndExitReleasesEverything) {
  ShellSandbox shell;
  shell.RemoveOpenerFromPath();
  OpenWindow(2);
  EXPECT_EQ(window_->objectName() + window_->windowTitle(), QLatin1String("AddressBookWClassAddress Book"));
  EXPECT_TRUE(!FindCommandAction(mainMenu, kComposeMailToCommand)->isEnabled() && window_->menuBar() == mainMenu);
  EXPECT_TRUE(FindCommandAction(mainMenu, kSiblingMailCommand)->isEnabled());  // known only when mail is sent
  Command(kSplitViewCommand);
  ASSERT_TRUE(currentRecord);
  Command(kExitCommand);
  EXPECT_FALSE(window_->isVisible());
  EXPECT_TRUE(resourceLibrary == nullptr && mainMenu == nullptr && viewerWindow == nullptr && listWindow == nullptr);
  EXPECT_TRUE(!currentRecord && contactListView.listWindow() == nullptr && contactCount == 20);
}

// Over a row the popup makes it current; without a selection the contact commands are grey;
// the choice arrives as a command; outside the list there is no popup.
TEST_F(MainWindowTest, ListPopup) {
  ShellSandbox shell;
  OpenWindow(0);
  QTest::mouseClick(View()->viewport(), Qt::RightButton, {}, RowCentre(6));
  EXPECT_EQ(RightClick(View(), RowCentre(6)), "100+ 102+ 103+ 118+ 125+ 126+ ");
  EXPECT_EQ(currentRow, 6);
  listWindow->reportView()->selectionModel()->clearSelection();
  EXPECT_EQ(RightClick(View(), QPoint(10, View()->viewport()->height() - 5)), "100+ 102- 103- 118- 125- 126- ");
  EXPECT_EQ(currentRow, 6);
  QSignalSpy commands(window_.get(), &MainWindow::commandReceived);
  CancelNextEditor();
  QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, RowCentre(3));
  RightClick(View(), RowCentre(3), kEditContactCommand);
  ASSERT_EQ(commands.count(), 1);
  EXPECT_EQ(commands.at(0).at(0).toInt(), kEditContactCommand);
  Command(kSplitViewCommand);
  EXPECT_EQ(RightClick(viewerWindow, QPoint(50, 50)), "");
}

TEST_F(MainWindowTest, CommandsWithoutAnEffectChangeNothingAndTheHigh16BitsDoNotCount) {
  OpenWindow(5);
  bool dialogShown = false;
  AnswerModal<QDialog>([&dialogShown](QDialog* dialog) { dialogShown = true; dialog->done(0); }, window_.get(), 20);
  const ContactList* list = listWindow;
  for (int id : {0, 101, 117, 127, 133, 136, 139, 141, 0x10000 + 1}) {
    Command(id);
    EXPECT_TRUE(sortCommand == kSortByNameCommand && viewCommand == kDetailsCommand && currentRow == 5) << id;
    EXPECT_TRUE(listWindow == list && viewerWindow == nullptr && window_->isVisible() && contactCount == 20) << id;
  }
  QTest::qWait(250);
  EXPECT_FALSE(dialogShown);
  Command(0x50000 | kLargeIconsCommand);
  EXPECT_EQ(viewCommand, kLargeIconsCommand);
}

TEST_F(MainWindowTest, InformationDialogClosesOnlyThroughOk) {
  OpenWindow();
  std::string seen;
  AnswerModal<QDialog>([&seen](QDialog* dialog) {
    seen = dialog->objectName().toStdString();
    QTest::keyClick(dialog, Qt::Key_Escape);
    dialog->close();
    seen += dialog->isVisible() ? " open" : " closed";
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("ctl1")), Qt::LeftButton);
  }, window_.get());
  Command(kInformationCommand);
  EXPECT_EQ(seen, "Dialog504 open");
  ASSERT_TRUE(LoadResourceLibrary(ab::test::TestBundle()));  // no dialog 504
  EXPECT_EQ(ShowInfoDialog(nullptr), -1);
}

}  // namespace
}  // namespace ab::testing
