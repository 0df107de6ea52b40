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

  // Every list row shows the texts of the table row with its number.
  static void ExpectRowsBoundToSlots() {
    ASSERT_NE(listWindow, nullptr);
    const ContactListModel* model = listWindow->model();
    ASSERT_EQ(model->rowCount(), contactCount);
    for (int row = 0; row < contactCount; ++row) {
      for (int column = 0; column < kListColumns; ++column) {
        EXPECT_EQ(model->index(row, column).data().toString().toStdString(),
                  SortKey(contactTable[static_cast<std::size_t>(row)], column))
            << "row " << row << " column " << column;
      }
    }
  }

  static QPoint RowCentre(int row) { return View()->visualRect(listWindow->model()->index(row, 0)).center(); }
  static QPoint BelowLastRow() {
    const QRect last = View()->visualRect(listWindow->model()->index(contactCount - 1, 0));
    return QPoint(last.left() + 10, last.bottom() + 30);
  }
};

TEST_F(ContactListTest, StartsInDetailsWithFourColumnsAndTheCurrentRowSelected) {
  OpenWindow(3);
  ASSERT_NE(listWindow, nullptr);
  EXPECT_EQ(listWindow->viewType(), ListStyle::Report);
  EXPECT_EQ(listWindow->geometry(), window_->client()->rect());
  const ReportView* report = listWindow->reportView();
  const std::vector<std::pair<QString, int>> columns{
      {"Name", 200}, {"E-Mail Address", 200}, {"Business Phone", 150}, {"Home Phone", 150}};
  ASSERT_EQ(report->header()->count(), 4);
  for (int column = 0; column < 4; ++column) {
    EXPECT_EQ(listWindow->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(),
              columns[static_cast<std::size_t>(column)].first);
    EXPECT_EQ(report->columnWidth(column), columns[static_cast<std::size_t>(column)].second);
  }
  EXPECT_EQ(listWindow->FirstSelectedRow(), 3);
  EXPECT_TRUE(Ticked(kDetailsCommand));
  EXPECT_TRUE(Ticked(kSortByNameCommand));
  ExpectRowsBoundToSlots();
  // Nothing is edited in place.
  EXPECT_FALSE(listWindow->model()->flags(listWindow->model()->index(0, 0)) & Qt::ItemIsEditable);
}

TEST_F(ContactListTest, NamesSortWithOnlyAToZFolded) {
  // Folding to lower case puts "_" (0x5F) before every letter; bytes of
  // Chinese names come after all of them.
  EXPECT_EQ(contactTable[0].displayName, "_underscore");
  EXPECT_EQ(contactTable[1].displayName, "Ann Smith");
  EXPECT_EQ(contactTable[2].displayName, "bob jones");
  EXPECT_EQ(contactTable[3].displayName, "Carla Díaz");
  EXPECT_EQ(contactTable[4].displayName, "david Lee");
  for (int row = contactCount - 3; row < contactCount; ++row) {
    EXPECT_GE(static_cast<unsigned char>(contactTable[static_cast<std::size_t>(row)].displayName.view()[0]), 0x80u);
  }
}

TEST_F(ContactListTest, SortingByEachColumnKeepsRowsBoundAndFollowsTheCurrentCard) {
  OpenWindow(5);
  const std::string current = Path(5);
  int previous = kSortByNameCommand;
  for (int id : {kSortByNameCommand + 1, kSortByNameCommand + 2, kSortByHomePhoneCommand, kSortByNameCommand}) {
    SCOPED_TRACE(id);
    Command(id);
    EXPECT_EQ(sortCommand, id);
    EXPECT_TRUE(Ticked(id));
    EXPECT_FALSE(Ticked(previous));
    previous = id;
    const int column = id - kSortByNameCommand;
    for (int row = 0; row + 1 < contactCount; ++row) {
      EXPECT_LE(CompareFolded(SortKey(contactTable[static_cast<std::size_t>(row)], column),
                              SortKey(contactTable[static_cast<std::size_t>(row + 1)], column)),
                0);
    }
    ExpectRowsBoundToSlots();
    EXPECT_EQ(Path(currentRow), current);
    EXPECT_EQ(listWindow->FirstSelectedRow(), currentRow);
    EXPECT_EQ(listWindow->reportView()->header()->sortIndicatorSection(), column);
  }
}

TEST_F(ContactListTest, EmailsSortByByteValue) {
  OpenWindow();
  Command(kSortByNameCommand + 1);
  const std::vector<std::string> expected{"", "_x@example.com", "ann@example.com", "b-jones@example.com",
                                          "b.jones@example.com", "b0jones@example.com", "bzjones@example.com"};
  for (std::size_t row = 0; row < expected.size(); ++row) EXPECT_EQ(contactTable[row].email, expected[row]);
}

TEST_F(ContactListTest, HeadingClickSortsAndTheSortedHeadingChangesNothing) {
  OpenWindow(2);
  QSignalSpy commands(window_.get(), &MainWindow::commandReceived);
  QHeaderView* header = listWindow->reportView()->header();
  const QPoint emailHeading(header->sectionViewportPosition(1) + 20, header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, emailHeading);
  ASSERT_EQ(commands.count(), 1);
  EXPECT_EQ(commands.at(0).at(0).toInt(), kSortByNameCommand + 1);
  EXPECT_EQ(sortCommand, kSortByNameCommand + 1);

  std::vector<std::string> order;
  for (int row = 0; row < contactCount; ++row) order.push_back(Path(row));
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, emailHeading);
  for (int row = 0; row < contactCount; ++row) EXPECT_EQ(Path(row), order[static_cast<std::size_t>(row)]);
  // No reverse order, and the heading does not pretend there is one.
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
  EXPECT_EQ(header->sortIndicatorSection(), 1);
}

TEST_F(ContactListTest, ViewCommandsKeepTheListAndItsSelection) {
  OpenWindow(4);
  ContactList* list = listWindow;
  const std::vector<std::pair<int, ListStyle>> views{{kLargeIconsCommand, ListStyle::Icon},
                                                     {kSmallIconsCommand, ListStyle::SmallIcon},
                                                     {kListCommand, ListStyle::List},
                                                     {kDetailsCommand, ListStyle::Report},
                                                     {kLargeIconsCommand, ListStyle::Icon}};
  for (const auto& [id, style] : views) {
    SCOPED_TRACE(id);
    Command(id);
    EXPECT_EQ(listWindow, list);
    EXPECT_EQ(listWindow->viewType(), style);
    EXPECT_EQ(listStyle, style);
    EXPECT_EQ(viewCommand, id);
    EXPECT_TRUE(Ticked(id));
    EXPECT_EQ(listWindow->FirstSelectedRow(), 4);
    EXPECT_TRUE(listWindow->view()->isVisible());
  }
}

TEST_F(ContactListTest, SplitViewDocksTheViewerAndAnotherViewClosesIt) {
  OpenWindow(6);
  Command(kSplitViewCommand);
  ASSERT_NE(viewerWindow, nullptr);
  const QRect client = window_->client()->rect();
  EXPECT_EQ(listWindow->geometry(), QRect(0, 0, 180, client.height()));
  EXPECT_EQ(viewerWindow->geometry(), QRect(180, 0, client.width() - 180, client.height()));
  EXPECT_EQ(listWindow->viewType(), ListStyle::List);
  ASSERT_TRUE(currentRecord);
  EXPECT_EQ(currentRecord->filePath, Path(6));
  EXPECT_TRUE(Ticked(kSplitViewCommand));

  // A narrow strip is one column that scrolls down.
  EXPECT_FALSE(listWindow->iconView()->isWrapping());

  window_->resize(600, 400);
  const QRect resized = window_->client()->rect();
  EXPECT_EQ(viewerWindow->geometry(), QRect(180, 0, resized.width() - 180, resized.height()));
  window_->resize(120, 300);
  EXPECT_EQ(viewerWindow->width(), 0);
  EXPECT_EQ(listWindow->width(), 180);
  window_->resize(847, 545);

  Command(kSmallIconsCommand);
  EXPECT_EQ(viewerWindow, nullptr);
  EXPECT_EQ(listWindow->geometry(), window_->client()->rect());
  EXPECT_FALSE(Ticked(kSplitViewCommand));
  EXPECT_EQ(listWindow->FirstSelectedRow(), 6);
}

TEST_F(ContactListTest, SortingOutsideDetailsRebuildsTheList) {
  OpenWindow(7);
  Command(kLargeIconsCommand);
  const ContactList* before = listWindow;
  const std::string current = Path(7);
  Command(kSortByNameCommand + 2);
  FinishRebuild();
  EXPECT_NE(listWindow, before);
  EXPECT_EQ(listWindow->viewType(), ListStyle::Icon);
  ExpectRowsBoundToSlots();
  EXPECT_EQ(Path(currentRow), current);
  EXPECT_EQ(listWindow->FirstSelectedRow(), currentRow);
  // The new list has the keys attached.
  Key(Qt::Key_Escape);
  EXPECT_TRUE(showCellFrames);
}

TEST_F(ContactListTest, SortingInTheSplitViewKeepsTheStripNarrow) {
  OpenWindow(1);
  Command(kSplitViewCommand);
  Command(kSortByNameCommand + 1);
  FinishRebuild();
  ASSERT_NE(listWindow, nullptr);
  EXPECT_EQ(listWindow->geometry(), QRect(0, 0, 180, window_->client()->height()));
  EXPECT_NE(viewerWindow, nullptr);
  ExpectRowsBoundToSlots();
}

TEST_F(ContactListTest, ClicksSetTheCurrentRowAndEmptySpaceKeepsIt) {
  OpenWindow(0);
  QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, RowCentre(3));
  EXPECT_EQ(currentRow, 3);

  QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, BelowLastRow());
  EXPECT_EQ(currentRow, 3);
  EXPECT_EQ(listWindow->FirstSelectedRow(), 3);
  EXPECT_EQ(listWindow->FocusedRow(), 3);
  EXPECT_TRUE(View()->hasFocus());
}

TEST_F(ContactListTest, ClicksInTheSplitViewShowTheContact) {
  OpenWindow(0);
  Command(kSplitViewCommand);
  QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, RowCentre(5));
  EXPECT_EQ(currentRow, 5);
  ASSERT_TRUE(currentRecord);
  EXPECT_EQ(currentRecord->filePath, Path(5));
  EXPECT_EQ(currentRecord->formattedName.view(), contactTable[5].displayName.view());
}

TEST_F(ContactListTest, DoubleClickAnywhereAsksToEdit) {
  OpenWindow(2);
  QSignalSpy commands(window_.get(), &MainWindow::commandReceived);
  CancelNextEditor();
  QTest::mouseDClick(View()->viewport(), Qt::LeftButton, {}, BelowLastRow());
  ASSERT_GE(commands.count(), 1);
  EXPECT_EQ(commands.last().at(0).toInt(), kEditContactCommand);
  EXPECT_EQ(currentRow, 2);
  // A real double click starts with a click, which selects the row.
  QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, RowCentre(4));
  CancelNextEditor();
  QTest::mouseDClick(View()->viewport(), Qt::LeftButton, {}, RowCentre(4));
  EXPECT_EQ(commands.last().at(0).toInt(), kEditContactCommand);
  EXPECT_EQ(currentRow, 4);
}

// Each view paints the selected contact in the highlight colour (and, with
// AB_SCREENSHOT_DIR set, leaves a picture of the window there to look at).
TEST_F(ContactListTest, EveryViewShowsTheSelectedContact) {
  OpenWindow(5);
  const QString folder = qEnvironmentVariable("AB_SCREENSHOT_DIR");
  for (int id : {kDetailsCommand, kLargeIconsCommand, kSmallIconsCommand, kListCommand, kSplitViewCommand}) {
    SCOPED_TRACE(id);
    Command(id);
    QApplication::processEvents();
    const QImage shot = window_->grab().toImage();
    if (!folder.isEmpty()) shot.save(QStringLiteral("%1/view-%2.png").arg(folder).arg(id));
    const QRect selected = View()->visualRect(listWindow->model()->index(5, 0));
    const QPoint inWindow = View()->viewport()->mapTo(window_.get(), selected.topLeft());
    const QColor highlight = View()->palette().color(QPalette::Active, QPalette::Highlight);
    int highlighted = 0;
    for (int x = 0; x < selected.width(); ++x) {
      for (int y = 0; y < selected.height(); ++y) {
        if (shot.pixelColor(inWindow + QPoint(x, y)) == highlight) ++highlighted;
      }
    }
    EXPECT_GT(highlighted, 60);
  }
}

TEST_F(ContactListTest, AnEmptyTableBuildsAnEmptyList) {
  contactCount = 0;
  OpenWindow(-1);
  ASSERT_NE(listWindow, nullptr);
  EXPECT_EQ(listWindow->model()->rowCount(), 0);
  // Commands that would address the current row do nothing with it.
  Command(kSortByNameCommand + 1);
  Command(kSplitViewCommand);
  EXPECT_EQ(currentRow, -1);
  EXPECT_NE(viewerWindow, nullptr);
  Key(Qt::Key_Down);
  Key(Qt::Key_End);
  EXPECT_EQ(currentRow, -1);
}

}  // namespace
}  // namespace ab::testing
