// The list's keys and the painting of its details rows.
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

// The selected row is highlighted from the name to the end of the last column,
// with or without the focus, which adds a frame; its icon is blended. A long
// name ends inside its column with an ellipsis, "&" shows as itself, and every
// text is inset by two spaces.
TEST_F(ListKeysTest, DetailsRowsPaintSelectionAndTextsInPlace) {
  OpenWindow(2);
  const ReportView& report = *listWindow->reportView();
  const QColor highlight = report.palette().color(QPalette::Active, QPalette::Highlight), base = report.palette().color(QPalette::Active, QPalette::Base);
  const auto middle = [&report](int row) { return report.RowBounds(row).center().y(); };
  const QRect bounds = report.RowBounds(2), label = report.LabelRect(2), icon = report.IconRect(2);
  const QImage focused = report.viewport()->grab().toImage();
  View()->clearFocus();
  const QImage image = report.viewport()->grab().toImage();
  for (const QImage& shot : {focused, image}) {
    EXPECT_TRUE(shot.pixelColor(label.left() + 1, bounds.top() + 1) == highlight && shot.pixelColor(bounds.right() - 2, middle(2)) == highlight);
    EXPECT_TRUE(shot.pixelColor(bounds.right() + 10, middle(2)) == base && shot.pixelColor(icon.left() - 1, middle(2)) != highlight);
    EXPECT_NE(shot.pixelColor(label.left() + 1, middle(3)), highlight);
    int blended = 0;
    for (int x = icon.left(); x <= icon.right(); ++x)
      for (int y = icon.top(); y <= icon.bottom(); ++y) {
        const QColor plain = shot.pixelColor(x, y - icon.top() + report.IconRect(3).top());
        blended += plain != base && shot.pixelColor(x, y) != plain;
      }
    EXPECT_GT(blended, 20);
  }
  int framed = 0;
  for (int x = label.left(); x <= bounds.right(); ++x)
    for (int y : {bounds.top(), bounds.bottom()}) framed += focused.pixelColor(x, y) != image.pixelColor(x, y);
  EXPECT_GT(framed, (bounds.right() - label.left()) / 2);
  EXPECT_EQ(focused.pixelColor(bounds.center()), image.pixelColor(bounds.center()));

  // The leftmost and rightmost columns in [from, to) of a row's middle that hold other than the background.
  const auto ink = [&](std::string_view name, int from, int to) {
    int row = 0;
    while (contactTable[row].displayName.view() != name) ++row;
    std::pair<int, int> found{-1, -1};
    for (int x = from; x < to; ++x)
      for (int dy = -4; dy <= 4; ++dy)
        if (image.pixelColor(x, middle(row) + dy) != base) found = {found.first < 0 ? x : found.first, x};
    return found;
  };
  const int offset = 2 * report.fontMetrics().horizontalAdvance(QLatin1Char(' '));
  const int column1 = report.RowBounds(0).left() + report.columnWidth(0), nameEnd = label.right() + 1;
  const std::string longName = "Olivia Newton-John, a name far too long to fit in its column";
  const auto [longFirst, longLast] = ink(longName, label.left(), nameEnd);
  EXPECT_TRUE(longFirst >= 0 && longLast <= nameEnd - offset && longLast >= nameEnd - offset - 25);  // up to the ellipsis
  EXPECT_EQ(ink(longName, column1 - offset / 2, column1 + offset - 1).first, -1);
  const auto [andFirst, andLast] = ink("Eve & Adam Müller", label.left(), nameEnd);
  const QFontMetrics metrics = report.fontMetrics();
  EXPECT_GT(andLast - andFirst + 1, metrics.horizontalAdvance(QStringLiteral("Eve & Adam Müller")) - metrics.horizontalAdvance('&') / 2);
  EXPECT_LE(std::abs(andFirst - (label.left() + offset / 2)), 2);
  const auto [first, last] = ink("Ann Smith", column1, column1 + report.columnWidth(1));  // "ann@example.com"
  EXPECT_TRUE(std::abs(first - (column1 + offset)) <= 2 && last <= column1 + report.columnWidth(1) - offset);
}

}  // namespace
}  // namespace ab::testing
