// The list's keys and the painting of its details rows.
#include <QMessageBox>
#include <QSignalSpy>

#include "AppHarness.h"
#include "app/CommandIds.h"

namespace ab::testing {
namespace {

class ListKeysTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    LoadCards(TwentyContacts());
  }
};

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

class DrawRowTest : public ListKeysTest {
 protected:
  QImage Grab() const { return listWindow->reportView()->viewport()->grab().toImage(); }
  static const ReportView& Report() { return *listWindow->reportView(); }
  static QColor Highlight() { return Report().palette().color(QPalette::Active, QPalette::Highlight); }
  static QColor Base() { return Report().palette().color(QPalette::Active, QPalette::Base); }
  static int Middle(int row) { return Report().RowBounds(row).center().y(); }
  static int Offset() { return 2 * Report().fontMetrics().horizontalAdvance(QLatin1Char(' ')); }

  // The leftmost and rightmost columns in [from, to) of the row's middle (give or
  // take the anti-aliased text's height) that hold other than the background.
  static std::pair<int, int> Ink(const QImage& image, int row, int from, int to) {
    std::pair<int, int> ink{-1, -1};
    for (int x = from; x < to; ++x)
      for (int dy = -4; dy <= 4; ++dy)
        if (image.pixelColor(x, Middle(row) + dy) != Base()) ink = {ink.first < 0 ? x : ink.first, x};
    return ink;
  }
};

// From the name to the last column, with or without the focus; the icon is blended,
// and the focused row gets a focus frame only while the list has the focus.
TEST_F(DrawRowTest, SelectedRowIsHighlighted) {
  OpenWindow(2);
  const QRect bounds = Report().RowBounds(2), label = Report().LabelRect(2), icon = Report().IconRect(2);
  const QImage focused = Grab();
  View()->clearFocus();
  const QImage unfocused = Grab();
  for (const QImage& image : {focused, unfocused}) {
    EXPECT_EQ(image.pixelColor(label.left() + 1, bounds.top() + 1), Highlight());
    EXPECT_EQ(image.pixelColor(bounds.right() - 2, Middle(2)), Highlight());  // end of the home phone column
    EXPECT_EQ(image.pixelColor(bounds.right() + 10, Middle(2)), Base());
    EXPECT_NE(image.pixelColor(label.left() + 1, Middle(3)), Highlight());
    EXPECT_NE(image.pixelColor(icon.left() - 1, Middle(2)), Highlight());
    int blended = 0;
    for (int x = icon.left(); x <= icon.right(); ++x)
      for (int y = icon.top(); y <= icon.bottom(); ++y) {
        const QColor plain = image.pixelColor(x, y - icon.top() + Report().IconRect(3).top());
        blended += plain != Base() && image.pixelColor(x, y) != plain;
      }
    EXPECT_GT(blended, 20);
  }
  int framed = 0;
  for (int x = label.left(); x <= bounds.right(); ++x)
    for (int y : {bounds.top(), bounds.bottom()}) framed += focused.pixelColor(x, y) != unfocused.pixelColor(x, y);
  EXPECT_GT(framed, (bounds.right() - label.left()) / 2);
  EXPECT_EQ(focused.pixelColor(bounds.center()), unfocused.pixelColor(bounds.center()));
}

// A long name ends inside its column with an ellipsis; "&" shows as itself;
// every column's text is inset by the offset.
TEST_F(DrawRowTest, TextsStayInsideTheirColumns) {
  OpenWindow(3);
  const QImage image = Grab();
  auto rowNamed = [](std::string_view name) {
    for (int row = 0; row < contactCount; ++row)
      if (contactTable[static_cast<std::size_t>(row)].displayName.view() == name) return row;
    return -1;
  };
  const int column1 = Report().RowBounds(0).left() + Report().columnWidth(0);
  const int longRow = rowNamed("Olivia Newton-John, a name far too long to fit in its column");
  const QRect longLabel = Report().LabelRect(longRow);
  const auto [longFirst, longLast] = Ink(image, longRow, longLabel.left(), longLabel.right() + 1);
  EXPECT_LE(longLast, longLabel.right() - Offset() + 1);
  EXPECT_GE(longLast, longLabel.right() - Offset() - 24);  // filled up to the ellipsis
  EXPECT_EQ(Ink(image, longRow, column1 - Offset() / 2, column1 + Offset() - 1).first, -1);
  const int andRow = rowNamed("Eve & Adam Müller");
  const QRect andLabel = Report().LabelRect(andRow);
  const auto [andFirst, andLast] = Ink(image, andRow, andLabel.left(), andLabel.right() + 1);
  const QFontMetrics metrics = Report().fontMetrics();
  EXPECT_GT(andLast - andFirst + 1, metrics.horizontalAdvance(QStringLiteral("Eve & Adam Müller")) - metrics.horizontalAdvance('&') / 2);
  EXPECT_LE(std::abs(andFirst - (andLabel.left() + Offset() / 2)), 2);
  const auto [first, last] = Ink(image, 1, column1, column1 + Report().columnWidth(1));  // "ann@example.com"
  EXPECT_LE(std::abs(first - (column1 + Offset())), 2);
  EXPECT_LE(last, column1 + Report().columnWidth(1) - Offset());
  EXPECT_GE(longFirst, 0);
}

}  // namespace
}  // namespace ab::testing
