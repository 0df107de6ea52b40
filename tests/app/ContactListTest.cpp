// The contact list: rows bound to table slots through every sort, the five
// views, clicks and heading clicks.
#include <QHeaderView>
#include <QSignalSpy>

#include "AppHarness.h"
#include "app/CommandIds.h"

namespace ab::testing {
namespace {

class ContactListTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    LoadCards(TwentyContacts());
  }

  // Every list row shows the texts of the table row with its number, sorted by `column`.
  static void ExpectRowsBoundToSlots(int column) {
    ASSERT_EQ(listWindow->model()->rowCount(), contactCount);
    for (int row = 0; row < contactCount; ++row) {
      const ContactRow& contact = contactTable[static_cast<std::size_t>(row)];
      for (int cell = 0; cell < kListColumns; ++cell)
        EXPECT_EQ(listWindow->model()->index(row, cell).data().toString().toStdString(), SortKey(contact, cell)) << row;
      if (row > 0) { EXPECT_LE(CompareFolded(SortKey(contactTable[row - 1], column), SortKey(contact, column)), 0) << row; }
    }
  }
  static QPoint RowCentre(int row) { return View()->visualRect(listWindow->model()->index(row, 0)).center(); }
  static void Click(QPoint at) { QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, at); }
};

TEST_F(ContactListTest, StartsInDetailsWithFourColumnsAndTheCurrentRowSelected) {
  OpenWindow(3);
  EXPECT_EQ(listWindow->viewType(), ListStyle::Report);
  EXPECT_EQ(listWindow->geometry(), window_->client()->rect());
  QString columns;
  for (int column = 0; column < listWindow->reportView()->header()->count(); ++column)
    columns += listWindow->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString() +
               QString::number(listWindow->reportView()->columnWidth(column)) + ";";
  EXPECT_EQ(columns, QStringLiteral("Name200;E-Mail Address200;Business Phone150;Home Phone150;"));
  EXPECT_EQ(listWindow->FirstSelectedRow(), 3);
  EXPECT_TRUE(Ticked(kDetailsCommand) && Ticked(kSortByNameCommand));
  ExpectRowsBoundToSlots(0);
  EXPECT_FALSE(listWindow->model()->flags(listWindow->model()->index(0, 0)) & Qt::ItemIsEditable);
  // Only A to Z fold, so "_" (0x5F) sorts before every letter and Chinese names after them.
  EXPECT_EQ(contactTable[0].displayName.str() + "|" + contactTable[2].displayName.str(), "_underscore|bob jones");
  EXPECT_GE(static_cast<unsigned char>(contactTable[17].displayName.view()[0]), 0x80u);
}

// Sorting keeps each list row bound to its table row and the current contact
// selected; outside the details view the list is rebuilt, the split view's strip stays narrow.
TEST_F(ContactListTest, SortingByEachColumnInEveryViewFollowsTheCurrentCard) {
  OpenWindow(5);
  const std::string current = Path(5);
  for (int view : {kDetailsCommand, kLargeIconsCommand, kSplitViewCommand}) {
    Command(view);
    for (int sort : {kSortByNameCommand + 1, kSortByNameCommand + 2, kSortByHomePhoneCommand, kSortByNameCommand}) {
      SCOPED_TRACE(view * 1000 + sort);
      const ContactList* before = listWindow;
      Command(sort);
      FinishRebuild();
      EXPECT_TRUE(Ticked(sort) && !Ticked(sort == kSortByNameCommand ? kSortByHomePhoneCommand : kSortByNameCommand));
      EXPECT_EQ(sortCommand, sort);
      ExpectRowsBoundToSlots(sort - kSortByNameCommand);
      EXPECT_EQ(Path(currentRow), current);
      EXPECT_EQ(listWindow->FirstSelectedRow(), currentRow);
      EXPECT_EQ(listWindow != before, view != kDetailsCommand);
      if (view == kDetailsCommand) { EXPECT_EQ(listWindow->reportView()->header()->sortIndicatorSection(), sort - kSortByNameCommand); }
      if (view == kSplitViewCommand) { EXPECT_EQ(listWindow->geometry(), QRect(0, 0, 180, window_->client()->height())); }
      if (sort == kSortByNameCommand + 1) { EXPECT_EQ(contactTable[3].email.str() + contactTable[4].email.str(), "b-jones@example.comb.jones@example.com"); }
    }
  }
  Key(Qt::Key_Escape);  // the rebuilt list has the keys attached
  EXPECT_TRUE(showCellFrames);
}

TEST_F(ContactListTest, HeadingClickSortsAndTheSortedHeadingChangesNothing) {
  OpenWindow(2);
  QSignalSpy commands(window_.get(), &MainWindow::commandReceived);
  QHeaderView* header = listWindow->reportView()->header();
  const QPoint emailHeading(header->sectionViewportPosition(1) + 20, header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, emailHeading);
  ASSERT_EQ(commands.count(), 1);
  EXPECT_EQ(commands.at(0).at(0).toInt() * 10 + sortCommand, (kSortByNameCommand + 1) * 11);
  const std::string first = Path(0);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, emailHeading);
  EXPECT_EQ(Path(0), first);  // no reverse order, and the heading does not pretend there is one
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
}

TEST_F(ContactListTest, ViewCommandsKeepTheListAndSplitViewDocksTheViewer) {
  OpenWindow(6);
  ContactList* list = listWindow;
  for (const auto& [id, style] : {std::pair{kLargeIconsCommand, ListStyle::Icon}, {kSmallIconsCommand, ListStyle::SmallIcon},
                                  {kListCommand, ListStyle::List}, {kDetailsCommand, ListStyle::Report}}) {
    Command(id);
    EXPECT_TRUE(listWindow == list && listWindow->viewType() == style && listStyle == style && viewCommand == id) << id;
    EXPECT_TRUE(Ticked(id) && listWindow->FirstSelectedRow() == 6 && listWindow->view()->isVisible()) << id;
  }
  Command(kSplitViewCommand);
  ASSERT_NE(viewerWindow, nullptr);
  const QRect client = window_->client()->rect();
  EXPECT_EQ(listWindow->geometry(), QRect(0, 0, 180, client.height()));
  EXPECT_EQ(viewerWindow->geometry(), QRect(180, 0, client.width() - 180, client.height()));
  EXPECT_TRUE(listWindow->viewType() == ListStyle::List && !listWindow->iconView()->isWrapping());  // one column
  EXPECT_EQ(currentRecord->filePath, Path(6));
  EXPECT_TRUE(Ticked(kSplitViewCommand));
  window_->resize(600, 400);
  EXPECT_EQ(viewerWindow->geometry(), QRect(180, 0, window_->client()->width() - 180, window_->client()->height()));
  window_->resize(120, 300);
  EXPECT_EQ(viewerWindow->width() + listWindow->width(), 180);
  window_->resize(847, 545);
  Command(kSmallIconsCommand);
  EXPECT_TRUE(viewerWindow == nullptr && !Ticked(kSplitViewCommand) && listWindow->FirstSelectedRow() == 6);
  EXPECT_EQ(listWindow->geometry(), window_->client()->rect());
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
  EXPECT_EQ(currentRow, 5);
  EXPECT_EQ(currentRecord->formattedName.view(), contactTable[5].displayName.view());
  CancelNextEditor();
  QTest::mouseDClick(View()->viewport(), Qt::LeftButton, {}, RowCentre(4));  // its click selects the row first
  EXPECT_EQ(commands.last().at(0).toInt() * 10 + currentRow, kEditContactCommand * 10 + 4);
}

// Each view paints the selected contact in the highlight colour (and, with
// AB_SCREENSHOT_DIR set, leaves a picture of the window there to look at).
TEST_F(ContactListTest, EveryViewShowsTheSelectedContact) {
  OpenWindow(5);
  const QString folder = qEnvironmentVariable("AB_SCREENSHOT_DIR");
  for (int id : {kDetailsCommand, kLargeIconsCommand, kSmallIconsCommand, kListCommand, kSplitViewCommand}) {
    Command(id);
    QApplication::processEvents();
    const QImage shot = window_->grab().toImage();
    if (!folder.isEmpty()) shot.save(QStringLiteral("%1/view-%2.png").arg(folder).arg(id));
    const QRect selected = View()->visualRect(listWindow->model()->index(5, 0));
    const QPoint inWindow = View()->viewport()->mapTo(window_.get(), selected.topLeft());
    int highlighted = 0;
    for (int x = 0; x < selected.width(); ++x)
      for (int y = 0; y < selected.height(); ++y)
        highlighted += shot.pixelColor(inWindow + QPoint(x, y)) == View()->palette().color(QPalette::Active, QPalette::Highlight);
    EXPECT_GT(highlighted, 60) << id;
  }
}

TEST_F(ContactListTest, AnEmptyTableBuildsAnEmptyList) {
  contactCount = 0;
  OpenWindow(-1);
  EXPECT_EQ(listWindow->model()->rowCount(), 0);
  Command(kSortByNameCommand + 1);
  Command(kSplitViewCommand);
  Key(Qt::Key_Down);
  Key(Qt::Key_End);
  EXPECT_TRUE(currentRow == -1 && viewerWindow != nullptr);
}

}  // namespace
}  // namespace ab::testing
