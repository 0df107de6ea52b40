// The contact list: rows bound to table slots through every sort and view,
// clicks and heading clicks.
#include <QHeaderView>
#include <QSignalSpy>

#include "AppHarness.h"
#include "app/CommandIds.h"

namespace ab::testing {
namespace {

class ContactListTest : public TwentyContactsTest {
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
  // How many pixels of `row`'s first cell the window shows in the highlight colour.
  int Highlighted(int row) const {
    const QImage shot = window_->grab().toImage();
    const QRect cell = View()->visualRect(listWindow->model()->index(row, 0));
    const QPoint origin = View()->viewport()->mapTo(window_.get(), cell.topLeft());
    int count = 0;
    for (int x = 0; x < cell.width(); ++x)
      for (int y = 0; y < cell.height(); ++y)
        count += shot.pixelColor(origin + QPoint(x, y)) == View()->palette().color(QPalette::Active, QPalette::Highlight);
    return count;
  }
  static QPoint RowCentre(int row) { return View()->visualRect(listWindow->model()->index(row, 0)).center(); }
  static void Click(QPoint at) { QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, at); }
};

// One walk through every view and sort: the list shows the table's rows in
// order, the current contact stays selected and painted so; only a sort outside
// the details view rebuilds the list, and the split view's strip stays narrow.
TEST_F(ContactListTest, EveryViewAndSortKeepsRowsBoundAndTheCurrentContact) {
  OpenWindow(5);
  // Only A to Z fold, so "_" (0x5F) sorts before every letter and Chinese names after them.
  EXPECT_EQ(contactTable[0].displayName.str() + "|" + contactTable[2].displayName.str(), "_underscore|bob jones");
  EXPECT_GE(static_cast<unsigned char>(contactTable[17].displayName.view()[0]), 0x80u);
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
    EXPECT_EQ(Ticked(112) + Ticked(113) + Ticked(114) + Ticked(115), 1);
    EXPECT_EQ(listWindow != before, sort && viewCommand != kDetailsCommand);
    const ListStyle styles[] = {ListStyle::Icon, ListStyle::SmallIcon, ListStyle::List, ListStyle::Report, ListStyle::List};
    EXPECT_EQ(listWindow->viewType(), styles[viewCommand - kLargeIconsCommand]);
    EXPECT_GT(Highlighted(currentRow), 60);
    EXPECT_EQ(listWindow->width(), viewerWindow ? 180 : window_->client()->width());
    if (sortCommand == 113) { EXPECT_EQ(contactTable[3].email.str() + contactTable[4].email.str(), "b-jones@example.comb.jones@example.com"); }
    if (step == kSplitViewCommand) {
      EXPECT_TRUE(!listWindow->iconView()->isWrapping() && currentRecord->filePath == current);  // one column
      window_->resize(120, 300);
      EXPECT_EQ(viewerWindow->width() + listWindow->width(), 180);
      window_->resize(847, 545);
    }
  }
  EXPECT_TRUE(viewerWindow == nullptr && !Ticked(kSplitViewCommand) && listWindow->viewType() == ListStyle::Report);
  Key(Qt::Key_Escape);  // the rebuilt lists kept the keys
  EXPECT_TRUE(showCellFrames);
  View()->clearFocus();  // the selection stays painted without the focus
  EXPECT_GT(Highlighted(currentRow), 60);
}

TEST_F(ContactListTest, HeadingClickSortsAndTheSortedHeadingChangesNothing) {
  OpenWindow(2);
  QSignalSpy commands(window_.get(), &MainWindow::commandReceived);
  QHeaderView* header = listWindow->reportView()->header();
  const QPoint emailHeading(header->sectionViewportPosition(1) + 20, header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, emailHeading);
  const std::string first = Path(0);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, emailHeading);
  ASSERT_GE(commands.count(), 1);
  EXPECT_EQ(commands.at(0).at(0).toInt() * 10 + sortCommand, 113 * 11);
  EXPECT_TRUE(Path(0) == first && header->sortIndicatorOrder() == Qt::AscendingOrder);  // never reversed
}

// A click makes its row current (in the split view it shows the contact), empty
// space keeps it; a double click anywhere asks to edit.
TEST_F(ContactListTest, ClicksAndDoubleClicks) {
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
  EXPECT_EQ(currentRecord->formattedName.str() + std::to_string(currentRow), contactTable[5].displayName.str() + "5");
  CancelNextEditor();
  QTest::mouseDClick(View()->viewport(), Qt::LeftButton, {}, RowCentre(4));  // its click selects the row first
  EXPECT_EQ(commands.last().at(0).toInt() * 10 + currentRow, kEditContactCommand * 10 + 4);
}

TEST_F(ContactListTest, AnEmptyTableBuildsAnEmptyList) {
  contactCount = 0;
  OpenWindow(-1);
  EXPECT_EQ(listWindow->model()->rowCount(), 0);
  for (int command : {113, kSplitViewCommand}) Command(command);
  for (int key : {Qt::Key_Down, Qt::Key_End}) Key(key);
  EXPECT_TRUE(currentRow == -1 && viewerWindow != nullptr);
}

}  // namespace
}  // namespace ab::testing
