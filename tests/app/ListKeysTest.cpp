// The list's keys and the painting of its details rows.
#include <QMessageBox>
#include <QSignalSpy>

#include <cstdlib>
#include <tuple>

#include "AppHarness.h"
#include "app/CommandIds.h"
#include "support/DialogAnswers.h"

namespace ab::testing {
namespace {

class ListKeysTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    LoadCards(TwentyContacts());
  }
};

TEST_F(ListKeysTest, ArrowsHomeAndEndMoveTheCurrentRowWithinTheTable) {
  OpenWindow(0);
  struct Step {
    int key;
    int expected;
  };
  const int last = contactCount - 1;
  for (const Step& step : std::vector<Step>{{Qt::Key_Up, 0},
                                            {Qt::Key_Down, 1},
                                            {Qt::Key_Down, 2},
                                            {Qt::Key_End, last},
                                            {Qt::Key_Down, last},
                                            {Qt::Key_Up, last - 1},
                                            {Qt::Key_Home, 0},
                                            {Qt::Key_Up, 0}}) {
    Key(step.key);
    EXPECT_EQ(currentRow, step.expected) << "key " << step.key;
    // The list moved its own selection to the same row.
    EXPECT_EQ(listWindow->FirstSelectedRow(), step.expected) << "key " << step.key;
  }
}

TEST_F(ListKeysTest, SplitViewFollowsTheArrowsButNotPageDown) {
  OpenWindow(0);
  Command(kSplitViewCommand);
  for (int expected = 1; expected <= 3; ++expected) {
    Key(Qt::Key_Down);
    ASSERT_EQ(currentRow, expected);
    ASSERT_TRUE(currentRecord);
    EXPECT_EQ(currentRecord->formattedName.view(), contactTable[static_cast<std::size_t>(expected)].displayName.view());
  }
  const std::string shown = currentRecord->filePath.str();
  Key(Qt::Key_PageDown);
  EXPECT_GT(listWindow->FirstSelectedRow(), 3);
  EXPECT_EQ(currentRow, 3);
  EXPECT_EQ(currentRecord->filePath, shown);
}

TEST_F(ListKeysTest, ArrowsStepTheRowNumberAlsoInTheIconView) {
  OpenWindow(0);
  Command(kLargeIconsCommand);
  Key(Qt::Key_Right);  // the list moves, currentRow does not
  EXPECT_EQ(currentRow, 0);
  const int selected = listWindow->FirstSelectedRow();
  Key(Qt::Key_Down);
  EXPECT_EQ(currentRow, selected + 1);
}

TEST_F(ListKeysTest, EscapeTogglesTheCellFrames) {
  OpenWindow(0);
  Key(Qt::Key_Escape);
  EXPECT_TRUE(showCellFrames);
  Command(kSplitViewCommand);
  Key(Qt::Key_Escape);
  EXPECT_FALSE(showCellFrames);
}

TEST_F(ListKeysTest, InsertAndDeleteSendTheirCommands) {
  OpenWindow(0);
  QSignalSpy commands(window_.get(), &MainWindow::commandReceived);
  CancelNextEditor();
  Key(Qt::Key_Insert);
  AnswerModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); }, window_.get());
  Key(Qt::Key_Delete);  // and No to the question
  ASSERT_EQ(commands.count(), 2);
  EXPECT_EQ(commands.at(0).at(0).toInt(), kNewContactCommand);
  EXPECT_EQ(commands.at(1).at(0).toInt(), kDeleteContactCommand);
  EXPECT_EQ(contactCount, 20);
}

TEST_F(ListKeysTest, AcceleratorsSendTheirCommandsUnlessTheItemIsGreyed) {
  OpenWindow(0);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  QSignalSpy commands(window_.get(), &MainWindow::commandReceived);
  QTest::keyClick(View(), Qt::Key_5, Qt::ControlModifier);
  ASSERT_EQ(commands.count(), 1);
  EXPECT_EQ(commands.at(0).at(0).toInt(), kSplitViewCommand);
  EXPECT_NE(viewerWindow, nullptr);

  FindCommandAction(mainMenu, kComposeMailToCommand)->setEnabled(false);
  QTest::keyClick(View(), Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(commands.count(), 1);
}

// --- Details rows ---------------------------------------------------------------

class DrawRowTest : public ListKeysTest {
 protected:
  QImage Grab() const { return listWindow->reportView()->viewport()->grab().toImage(); }
  static const ReportView& Report() { return *listWindow->reportView(); }
  static QColor Highlight() { return Report().palette().color(QPalette::Active, QPalette::Highlight); }
  static QColor Base() { return Report().palette().color(QPalette::Active, QPalette::Base); }
  static int Middle(int row) { return Report().RowBounds(row).center().y(); }
  static int Offset() { return 2 * Report().fontMetrics().horizontalAdvance(QLatin1Char(' ')); }

  // The leftmost and rightmost columns in [from, to) of row's middle line
  // that hold other than the background colour.
  static std::pair<int, int> Ink(const QImage& image, int row, int from, int to) {
    int first = -1;
    int last = -1;
    const int y = Middle(row);
    for (int x = from; x < to; ++x) {
      // Text is drawn anti-aliased; look a few pixels up and down the line.
      for (int dy = -4; dy <= 4; ++dy) {
        if (image.pixelColor(x, y + dy) != Base()) {
          if (first < 0) first = x;
          last = x;
          break;
        }
      }
    }
    return {first, last};
  }

  struct NameInk {
    int row = -1;
    QRect label;
    int first = -1;
    int last = -1;
  };
  // Opens the window with another row selected and finds the ink of the
  // label of the row named `name`.
  NameInk InkOfName(std::string_view name) {
    NameInk ink;
    ink.row = RowNamed(name);
    if (ink.row < 0) return ink;
    OpenWindow(ink.row == 0 ? 1 : 0);
    ink.label = Report().LabelRect(ink.row);
    std::tie(ink.first, ink.last) = Ink(Grab(), ink.row, ink.label.left(), ink.label.right() + 1);
    return ink;
  }

  static int RowNamed(std::string_view name) {
    for (int row = 0; row < contactCount; ++row) {
      if (contactTable[static_cast<std::size_t>(row)].displayName.view() == name) return row;
    }
    return -1;
  }
};

TEST_F(DrawRowTest, SelectedRowIsHighlightedFromTheNameToTheLastColumnWithOrWithoutFocus) {
  OpenWindow(2);
  for (bool focused : {true, false}) {
    SCOPED_TRACE(focused);
    if (!focused) View()->clearFocus();
    const QImage image = Grab();
    const QRect bounds = Report().RowBounds(2);
    const QRect label = Report().LabelRect(2);
    EXPECT_EQ(image.pixelColor(label.left() + 1, bounds.top() + 1), Highlight());
    EXPECT_EQ(image.pixelColor(bounds.right() - 2, Middle(2)), Highlight());  // end of the home phone column
    EXPECT_EQ(image.pixelColor(bounds.right() + 10, Middle(2)), Base());       // past the last column
    EXPECT_NE(image.pixelColor(label.left() + 1, Middle(3)), Highlight());     // the next row
    // The icon is not on the highlight, but it is blended with it.
    const QRect icon = Report().IconRect(2);
    EXPECT_NE(image.pixelColor(icon.left() - 1, Middle(2)), Highlight());
    int blendedPixels = 0;
    for (int x = icon.left(); x <= icon.right(); ++x) {
      for (int y = icon.top(); y <= icon.bottom(); ++y) {
        const QColor selected = image.pixelColor(x, y);
        const QColor plain = image.pixelColor(x, y - icon.top() + Report().IconRect(3).top());
        if (plain != Base() && selected != plain) ++blendedPixels;
      }
    }
    EXPECT_GT(blendedPixels, 20);
  }
}

TEST_F(DrawRowTest, TheFocusedRowGetsAFocusFrameOnlyWhileTheListHasTheFocus) {
  OpenWindow(2);
  ASSERT_TRUE(View()->hasFocus());
  const QImage focused = Grab();
  View()->clearFocus();
  const QImage unfocused = Grab();
  const QRect bounds = Report().RowBounds(2);
  QRect frame = bounds;
  frame.setLeft(Report().LabelRect(2).left());
  int differing = 0;
  for (int x = frame.left(); x <= frame.right(); ++x) {
    for (int y : {frame.top(), frame.bottom()}) differing += focused.pixelColor(x, y) != unfocused.pixelColor(x, y);
  }
  EXPECT_GT(differing, frame.width() / 2);
  // Inside the frame the row is the same highlight either way.
  EXPECT_EQ(focused.pixelColor(frame.center()), unfocused.pixelColor(frame.center()));
}

TEST_F(DrawRowTest, LongNamesEndInsideTheirColumn) {
  const NameInk ink = InkOfName("Olivia Newton-John, a name far too long to fit in its column");
  ASSERT_GE(ink.first, 0);
  EXPECT_LE(ink.last, ink.label.right() - Offset() + 1);
  EXPECT_GE(ink.last, ink.label.right() - Offset() - 24);  // filled up to the ellipsis
  // Column 1 starts clean: nothing of the name runs into it.
  const int column1 = Report().RowBounds(ink.row).left() + Report().columnWidth(0);
  const auto [spill, unused] = Ink(Grab(), ink.row, column1 - Offset() / 2, column1 + Offset() - 1);
  (void)unused;
  EXPECT_EQ(spill, -1);
}

TEST_F(DrawRowTest, AnAmpersandShowsAsItself) {
  const NameInk ink = InkOfName("Eve & Adam Müller");
  ASSERT_GE(ink.first, 0);
  const QFontMetrics metrics = Report().fontMetrics();
  const int full = metrics.horizontalAdvance(QStringLiteral("Eve & Adam Müller"));
  const int ampersand = metrics.horizontalAdvance(QLatin1Char('&'));
  // With "&" taken as a mnemonic the ink would be one "&" shorter.
  EXPECT_GT(ink.last - ink.first + 1, full - ampersand / 2);
  EXPECT_LE(std::abs(ink.first - (ink.label.left() + Offset() / 2)), 2);
}

TEST_F(DrawRowTest, OtherColumnsAreInsetByTheOffset) {
  OpenWindow(3);
  const QImage image = Grab();
  const int row = 1;  // "ann@example.com": ink from its first letter on
  const int column1 = Report().RowBounds(row).left() + Report().columnWidth(0);
  const auto [first, last] = Ink(image, row, column1, column1 + Report().columnWidth(1));
  ASSERT_GE(first, 0);
  EXPECT_LE(std::abs(first - (column1 + Offset())), 2);
  EXPECT_LE(last, column1 + Report().columnWidth(1) - Offset());
}

}  // namespace
}  // namespace ab::testing
