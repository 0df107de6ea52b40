// The main window: the contact list's rows bound to table slots through every
// sort and view, its clicks, keys and popup; the information dialog.
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>

#include "AppHarness.h"
#include "app/CommandIds.h"
#include "shell/ShellSandbox.h"

namespace ab::testing {
namespace {

class MainWindowTest : public SampleContactsTest {
 protected:
  // Every cell row by row: the list's as shown, the table's as it holds them.
  static std::pair<std::vector<std::string>, std::vector<std::string>> ListAndTableRows() {
    std::pair<std::vector<std::string>, std::vector<std::string>> rows;
    for (int row = 0; row < listWindow->model()->rowCount(); ++row)
      for (int cell = 0; cell < kListColumns; ++cell) rows.first.push_back(listWindow->model()->index(row, cell).data().toString().toStdString());
    for (int row = 0; row < contactCount; ++row)
      for (int cell = 0; cell < kListColumns; ++cell) rows.second.emplace_back(SortKey(contactTable[row], cell));
    return rows;
  }
  static void Click(QPoint at) { QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, at); }
  // Right-clicks `at` in the list; the popup's command items as "id+" (enabled) or "id-",
  // and picks the item of `choose`.
  std::string RightClick(QPoint at, int choose = 0) {
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
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, View()->viewport()->mapToGlobal(at));
    QApplication::sendEvent(View()->viewport(), &event);
    return items;
  }
};

// One walk through every view and sort: the list shows the table's rows in
// order and the current contact stays selected; only a sort outside the details
// view rebuilds the list.
TEST_F(MainWindowTest, EveryViewAndSortKeepsRowsBoundAndTheCurrentContact) {
  OpenWindow(5);
  const std::string current = Path(5);
  const int steps[] = {kDetailsCommand, 113, 114, 115, 112, kLargeIconsCommand, 113, 115, 112, kSmallIconsCommand,
                       kListCommand, 114, kSplitViewCommand, 113, 112, kDetailsCommand};
  for (int step : steps) {
    SCOPED_TRACE(step);
    const ContactList* before = listWindow;
    const bool sort = step < kLargeIconsCommand;
    Command(step);
    FinishRebuild();
    const auto [list, table] = ListAndTableRows();
    EXPECT_EQ(list, table);
    for (int row = 1; row < contactCount; ++row) EXPECT_LE(CompareListRows(contactTable[row - 1], contactTable[row], sortCommand - 112), 0);
    EXPECT_TRUE(Path(currentRow) == current && listWindow->FirstSelectedRow() == currentRow);
    EXPECT_TRUE(Ticked(step) && Ticked(sortCommand) && (sort ? sortCommand : viewCommand) == step);
    EXPECT_EQ(listWindow != before, sort && viewCommand != kDetailsCommand);
    const ListStyle styles[] = {ListStyle::Icon, ListStyle::SmallIcon, ListStyle::List, ListStyle::Report, ListStyle::List};
    EXPECT_EQ(listWindow->viewType(), styles[viewCommand - kLargeIconsCommand]);
    if (step != kSplitViewCommand) continue;
    // The split view's strip is one column showing the current card; a window narrower than it shows the list alone.
    EXPECT_TRUE(!listWindow->iconView()->isWrapping() && currentRecord->filePath == current);
    window_->resize(120, 300);
    EXPECT_EQ(viewerWindow->width() + listWindow->width(), 180);
  }
  EXPECT_TRUE(viewerWindow == nullptr && !Ticked(kSplitViewCommand) && listWindow->viewType() == ListStyle::Report);
  Key(Qt::Key_Escape);  // the rebuilt lists kept the keys
  EXPECT_TRUE(showCellFrames);
}

// A click makes its row current (in the split view it shows the contact), empty
// space keeps it; a double click anywhere asks to edit.
TEST_F(MainWindowTest, ClicksAndDoubleClicks) {
  OpenWindow(0);
  const QRect last = View()->visualRect(listWindow->model()->index(contactCount - 1, 0));
  const QPoint belowLastRow(last.left() + 10, last.bottom() + 30);
  Click(RowCentre(3));
  Click(belowLastRow);
  EXPECT_TRUE(currentRow == 3 && listWindow->FirstSelectedRow() == 3 && listWindow->FocusedRow() == 3 && View()->hasFocus());
  QSignalSpy commands(window_.get(), &MainWindow::commandReceived);
  CancelNextEditor();
  QTest::mouseDClick(View()->viewport(), Qt::LeftButton, {}, belowLastRow);
  EXPECT_TRUE(commands.count() == 1 && commands.last().at(0).toInt() == kEditContactCommand && currentRow == 3);
  Command(kSplitViewCommand);
  Click(RowCentre(5));
  EXPECT_EQ(currentRow, 5);
  EXPECT_EQ(currentRecord->formattedName.view(), contactTable[5].displayName.view());
}

// The keys move the current row within the table and the list's selection with
// it; the split view (entered by its accelerator, a greyed one sends nothing)
// follows the arrows but not Page Down.
TEST_F(MainWindowTest, KeysMoveTheCurrentRow) {
  OpenWindow(0);
  const int last = contactCount - 1;
  for (const auto& [key, expected] : {std::pair{Qt::Key_Up, 0}, {Qt::Key_End, last}, {Qt::Key_Down, last}, {Qt::Key_Home, 0}}) {
    Key(key);
    EXPECT_TRUE(currentRow == expected && listWindow->FirstSelectedRow() == expected) << key;
  }
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  FindCommandAction(mainMenu, kComposeMailToCommand)->setEnabled(false);
  QSignalSpy commands(window_.get(), &MainWindow::commandReceived);
  QTest::keyClick(View(), Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
  QTest::keyClick(View(), Qt::Key_5, Qt::ControlModifier);
  EXPECT_TRUE(commands.count() == 1 && viewerWindow != nullptr);
  Key(Qt::Key_Down);
  EXPECT_EQ(currentRecord->formattedName.view(), contactTable[1].displayName.view());
  Key(Qt::Key_PageDown);
  EXPECT_GT(listWindow->FirstSelectedRow(), 1);
  EXPECT_EQ(currentRow, 1);
  EXPECT_EQ(currentRecord->formattedName.view(), contactTable[1].displayName.view());
}

// Over a row the popup makes it current and offers the contact commands; the
// choice arrives as a command.
TEST_F(MainWindowTest, ListPopup) {
  ShellSandbox shell;
  OpenWindow(0);
  QTest::mouseClick(View()->viewport(), Qt::RightButton, {}, RowCentre(6));
  EXPECT_EQ(RightClick(RowCentre(6)), "100+ 102+ 103+ 118+ 125+ 126+ ");
  EXPECT_EQ(currentRow, 6);
  QSignalSpy commands(window_.get(), &MainWindow::commandReceived);
  CancelNextEditor();
  QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, RowCentre(3));
  RightClick(RowCentre(3), kEditContactCommand);
  ASSERT_EQ(commands.count(), 1);
  EXPECT_EQ(commands.at(0).at(0).toInt(), kEditContactCommand);
}

// The information dialog: neither Escape nor closing the window ends it.
TEST_F(MainWindowTest, InformationDialogClosesOnlyThroughOk) {
  OpenWindow();
  bool stayedOpen = false;
  AnswerModal<QDialog>([&stayedOpen](QDialog* dialog) {
    QTest::keyClick(dialog, Qt::Key_Escape);
    dialog->close();
    stayedOpen = dialog->isVisible();
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("ctl1")), Qt::LeftButton);
  }, window_.get());
  Command(kInformationCommand);
  EXPECT_TRUE(stayedOpen);
}

}  // namespace
}  // namespace ab::testing
