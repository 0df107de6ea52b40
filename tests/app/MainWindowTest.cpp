// The main window: its menu, the list's popup, the command dispatcher, the
// information dialog and the orderly end.
#include <QContextMenuEvent>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>

#include <fstream>
#include <optional>

#include <sys/stat.h>

#include "AppHarness.h"
#include "support/DialogAnswers.h"
#include "app/CommandIds.h"
#include "app/InfoDialog.h"

namespace ab::testing {
namespace {

// PATH and XDG_CONFIG_HOME pointed at empty folders: no URL opener until the
// test puts one on PATH, and no registry values.
class ShellWorld {
 public:
  ShellWorld() : path_(qgetenv("PATH")), config_(qgetenv("XDG_CONFIG_HOME")) {
    qputenv("PATH", QByteArray::fromStdString(bin_.path()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config_folder_.path()));
  }
  ~ShellWorld() {
    qputenv("PATH", path_);
    if (config_.isEmpty()) qunsetenv("XDG_CONFIG_HOME"); else qputenv("XDG_CONFIG_HOME", config_);
  }
  void AddUrlOpener() const {
    const std::string opener = bin_.Write("xdg-open", "#!/bin/sh\nexit 0\n");
    ::chmod(opener.c_str(), 0755);
  }

 private:
  TempFolder bin_;
  TempFolder config_folder_;
  QByteArray path_;
  QByteArray config_;
};

struct PopupState {
  bool shown = false;
  std::map<int, bool> enabled;  // command ID -> enabled
};

class MainWindowTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    LoadCards(TwentyContacts());
  }

  // Right click over the list's rows; records the popup and closes it (or
  // picks `choose`).
  PopupState RightClickList(QPoint at, std::optional<int> choose = std::nullopt) {
    PopupState state;
    AnswerPopup(
        [&state, choose](QMenu* menu) {
          state.shown = true;
          QAction* picked = nullptr;
          for (QAction* action : menu->actions()) {
            if (action->isSeparator()) continue;
            state.enabled[action->data().toInt()] = action->isEnabled();
            if (choose && action->data().toInt() == *choose) picked = action;
          }
          if (picked != nullptr) {
            menu->setActiveAction(picked);
            QTest::keyClick(menu, Qt::Key_Return);
          } else {
            menu->close();
          }
        },
        window_.get());
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, View()->viewport()->mapToGlobal(at));
    QApplication::sendEvent(View()->viewport(), &event);
    return state;
  }

  static QPoint RowCentre(int row) { return View()->visualRect(listWindow->model()->index(row, 0)).center(); }
};

TEST_F(MainWindowTest, IsTheAddressBookWindowWithItsMenu) {
  OpenWindow();
  EXPECT_EQ(window_->objectName(), QLatin1String("AddressBookWClass"));
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Address Book"));
  EXPECT_EQ(window_->size(), QSize(847, 545));
  EXPECT_FALSE(window_->windowIcon().isNull());
  ASSERT_NE(mainMenu, nullptr);
  EXPECT_EQ(window_->menuBar(), mainMenu);
  for (int id : {100, 102, 103, 104, 112, 113, 114, 115, 116, 118, 120, 121, 122, 123, 124, 125, 126, 134, 135, 140}) {
    EXPECT_NE(FindCommandAction(mainMenu, id), nullptr) << id;
  }
}

TEST_F(MainWindowTest, MailToIsGreyedWithoutAUrlOpener) {
  ShellWorld world;
  OpenWindow();
  EXPECT_FALSE(FindCommandAction(mainMenu, kComposeMailToCommand)->isEnabled());
  // Whether the sibling program is there shows only when mail is sent.
  EXPECT_TRUE(FindCommandAction(mainMenu, kSiblingMailCommand)->isEnabled());
  CloseWindow();  // which releases the resource library

  ASSERT_TRUE(LoadResourceLibrary(ab::test::ProductBundle()));
  world.AddUrlOpener();
  OpenWindow();
  EXPECT_TRUE(FindCommandAction(mainMenu, kComposeMailToCommand)->isEnabled());
}

TEST_F(MainWindowTest, PopupOverARowSetsTheCurrentRow) {
  ShellWorld world;
  world.AddUrlOpener();
  OpenWindow(0);
  QTest::mouseClick(View()->viewport(), Qt::RightButton, {}, RowCentre(6));  // selects the row
  const PopupState popup = RightClickList(RowCentre(6));
  ASSERT_TRUE(popup.shown);
  EXPECT_EQ(currentRow, 6);
  for (int id : {100, 102, 103, 118, 125, 126}) EXPECT_TRUE(popup.enabled.at(id)) << id;
}

TEST_F(MainWindowTest, PopupWithoutASelectionGreysTheContactCommands) {
  ShellWorld world;
  world.AddUrlOpener();
  OpenWindow(4);
  listWindow->reportView()->selectionModel()->clearSelection();
  const PopupState popup = RightClickList(QPoint(10, View()->viewport()->height() - 5));
  ASSERT_TRUE(popup.shown);
  for (int id : {102, 103, 118, 125, 126}) EXPECT_FALSE(popup.enabled.at(id)) << id;
  EXPECT_TRUE(popup.enabled.at(kNewContactCommand));
  EXPECT_EQ(currentRow, 4);
}

TEST_F(MainWindowTest, ThePopupsChoiceArrivesAsACommand) {
  OpenWindow(3);
  QSignalSpy commands(window_.get(), &MainWindow::commandReceived);
  CancelNextEditor();
  const PopupState popup = RightClickList(RowCentre(3), kEditContactCommand);
  ASSERT_TRUE(popup.shown);
  ASSERT_EQ(commands.count(), 1);
  EXPECT_EQ(commands.at(0).at(0).toInt(), kEditContactCommand);
}

TEST_F(MainWindowTest, RightClickOutsideTheListShowsNoPopup) {
  OpenWindow(0);
  Command(kSplitViewCommand);
  bool shown = false;
  AnswerPopup([&shown](QMenu* menu) { shown = true; menu->close(); }, window_.get(), 20);
  const QPoint at(50, 50);
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewerWindow->viewport()->mapToGlobal(at));
  QApplication::sendEvent(viewerWindow->viewport(), &event);
  QTest::qWait(300);
  EXPECT_FALSE(shown);
}

TEST_F(MainWindowTest, CommandsWithoutAnEffectChangeNothing) {
  OpenWindow(5);
  std::vector<int> ignored{0, 99, 101, 117, 136, 137, 138, 139, 141, 1000, 0x10000 + 1};
  for (int id = 105; id <= 111; ++id) ignored.push_back(id);
  for (int id = 127; id <= 133; ++id) ignored.push_back(id);
  bool dialogShown = false;
  AnswerModal<QDialog>([&dialogShown](QDialog* dialog) { dialogShown = true; dialog->done(0); }, window_.get(), 20);
  const ContactList* list = listWindow;
  std::vector<std::string> order;
  for (int row = 0; row < contactCount; ++row) order.push_back(Path(row));
  for (int id : ignored) {
    Command(id);
    EXPECT_EQ(sortCommand, kSortByNameCommand) << id;
    EXPECT_EQ(viewCommand, kDetailsCommand) << id;
    EXPECT_EQ(currentRow, 5) << id;
    EXPECT_EQ(listWindow, list) << id;
    EXPECT_EQ(viewerWindow, nullptr) << id;
    EXPECT_TRUE(window_->isVisible()) << id;
  }
  for (int row = 0; row < contactCount; ++row) EXPECT_EQ(Path(row), order[static_cast<std::size_t>(row)]);
  QTest::qWait(250);
  EXPECT_FALSE(dialogShown);
  EXPECT_EQ(contactCount, 20);
}

TEST_F(MainWindowTest, TheHigh16BitsOfACommandDoNotCount) {
  OpenWindow(0);
  Command(0x50000 | kLargeIconsCommand);
  EXPECT_EQ(viewCommand, kLargeIconsCommand);
}

TEST_F(MainWindowTest, InformationDialogClosesOnlyThroughOk) {
  OpenWindow();
  struct Seen {
    bool shown = false;
    bool openAfterEscape = false;
    bool openAfterClose = false;
    bool openAfterReturnOnOther = false;
  } seen;
  AnswerModal<QDialog>(
      [&seen](QDialog* dialog) {
        seen.shown = dialog->objectName() == QLatin1String("Dialog504");
        QTest::keyClick(dialog, Qt::Key_Escape);
        seen.openAfterEscape = dialog->isVisible();
        dialog->close();
        seen.openAfterClose = dialog->isVisible();
        auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("ctl1"));
        if (ok != nullptr) QTest::mouseClick(ok, Qt::LeftButton);
      },
      window_.get());
  EXPECT_EQ(ShowInfoDialog(window_.get()), 1);
  EXPECT_TRUE(seen.shown);
  EXPECT_TRUE(seen.openAfterEscape);
  EXPECT_TRUE(seen.openAfterClose);

  // The same dialog through the command.
  bool commanded = false;
  AnswerModal<QDialog>(
      [&commanded](QDialog* dialog) {
        commanded = true;
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("ctl1")), Qt::LeftButton);
      },
      window_.get());
  Command(kInformationCommand);
  EXPECT_TRUE(commanded);
}

TEST_F(MainWindowTest, InformationDialogWithoutATemplateDoesNothing) {
  ASSERT_TRUE(LoadResourceLibrary(ab::test::TestBundle()));  // no dialog 504
  EXPECT_EQ(ShowInfoDialog(nullptr), -1);
}

TEST_F(MainWindowTest, ExitReleasesEverythingAndEndsTheLoop) {
  OpenWindow(2);
  Command(kSplitViewCommand);
  ASSERT_TRUE(currentRecord);
  Command(kExitCommand);
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(resourceLibrary, nullptr);
  EXPECT_EQ(mainMenu, nullptr);
  EXPECT_EQ(viewerWindow, nullptr);
  EXPECT_EQ(listWindow, nullptr);
  EXPECT_FALSE(currentRecord);
  EXPECT_EQ(contactListView.listWindow(), nullptr);
  // The card files stay as they were: nothing is written at exit.
  EXPECT_EQ(contactCount, 20);
}

}  // namespace
}  // namespace ab::testing
