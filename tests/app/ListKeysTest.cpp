// The list's keys.
#include <QMessageBox>
#include <QSignalSpy>

#include "AppHarness.h"
#include "app/CommandIds.h"

namespace ab::testing {
namespace {

using ListKeysTest = TwentyContactsTest;

// The keys move the current row within the table and the list's selection with
// it; the split view follows the arrows but not Page Down.
TEST_F(ListKeysTest, ArrowsHomeAndEndMoveTheCurrentRow) {
  OpenWindow(0);
  const int last = contactCount - 1;
  for (const auto& [key, expected] : {std::pair{Qt::Key_Up, 0}, {Qt::Key_Down, 1}, {Qt::Key_End, last}, {Qt::Key_Down, last},
                                      {Qt::Key_Up, last - 1}, {Qt::Key_Home, 0}, {Qt::Key_Up, 0}}) {
    Key(key);
    EXPECT_TRUE(currentRow == expected && listWindow->FirstSelectedRow() == expected) << key;
  }
  Command(kSplitViewCommand);
  Key(Qt::Key_Down);
  EXPECT_EQ(currentRecord->formattedName.view(), contactTable[1].displayName.view());
  Key(Qt::Key_PageDown);
  EXPECT_GT(listWindow->FirstSelectedRow(), 1);
  EXPECT_EQ(currentRow * 1000 + currentRecord->formattedName.size(), 1000 + contactTable[1].displayName.size());
  Command(kLargeIconsCommand);
  Key(Qt::Key_Home);
  Key(Qt::Key_Right);  // the list moves, currentRow does not
  EXPECT_EQ(currentRow, 0);
  const int selected = listWindow->FirstSelectedRow();
  Key(Qt::Key_Down);  // steps the row number in the icon view too
  EXPECT_EQ(currentRow, selected + 1);
}

// Escape toggles the cell frames; Insert and Delete send their commands, and an
// accelerator its own unless the item is greyed.
TEST_F(ListKeysTest, KeysSendTheirCommands) {
  OpenWindow(0);
  Key(Qt::Key_Escape);
  EXPECT_TRUE(showCellFrames);
  QSignalSpy commands(window_.get(), &MainWindow::commandReceived);
  CancelNextEditor();
  Key(Qt::Key_Insert);
  AnswerModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); }, window_.get());
  Key(Qt::Key_Delete);
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  QTest::keyClick(View(), Qt::Key_5, Qt::ControlModifier);
  FindCommandAction(mainMenu, kComposeMailToCommand)->setEnabled(false);
  QTest::keyClick(View(), Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(commands.count(), 3);
  EXPECT_EQ(commands.at(0).at(0).toInt() + commands.at(1).at(0).toInt(), kNewContactCommand + kDeleteContactCommand);
  EXPECT_EQ(commands.at(2).at(0).toInt(), kSplitViewCommand);
  EXPECT_TRUE(contactCount == 20 && viewerWindow != nullptr);
  Key(Qt::Key_Escape);
  EXPECT_FALSE(showCellFrames);
}

}  // namespace
}  // namespace ab::testing
