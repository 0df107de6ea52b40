// The product's resource library: every resource the program asks for is
// there, fits the room the program gives it, and matches the commands.
#include "resources/ResourceLibrary.h"

#include "support/BundlePaths.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace ab {
namespace {

enum class Role { Label, Message, Question };

struct RequiredString {
  int id;
  int maxBytes;  // the buffer the program reads it into, less the terminator
  Role role;
};

// Every string the program loads from the library, with its buffer.
constexpr RequiredString kRequiredStrings[] = {
    {6, 31, Role::Label},        // caption of warning and question boxes
    {12, 254, Role::Message},    // no current contact (mail commands)
    {13, 254, Role::Message},    // the contact has no name
    {14, 259, Role::Label},      // column heading: name
    {15, 259, Role::Label},      // column heading: e-mail address
    {23, 259, Role::Label},      // column heading: business telephone
    {28, 259, Role::Label},      // column heading: home telephone
    {29, 254, Role::Message},    // no new contact was created
    {38, 254, Role::Question},   // delete the selected contact?
    {42, 254, Role::Question},   // the vCard file is already in the address book; import anyway?
    {43, 19, Role::Label},       // caption suffix of the contact editor
    {52, 15, Role::Label},       // main window title
    {71, 254, Role::Question},   // a file is in the place of the card folder; delete it?
    {72, 254, Role::Message},    // the contact has no e-mail address
    {74, 15, Role::Label},       // card caption beside the address
    {75, 15, Role::Label},       // card caption beside the phone
    {76, 15, Role::Label},       // card caption beside the fax
    {77, 15, Role::Label},       // card caption beside the e-mail address
    {78, 15, Role::Label},       // card caption beside the web page
    {79, 254, Role::Message},    // the vCard file was not imported
    {80, 254, Role::Message},    // the e-mail list is full
    {81, 254, Role::Message},    // how many contacts a file gave
    {82, 254, Role::Message},    // how many a file gave, and how many did not fit
    {83, 254, Role::Message},    // card files left unread at start-up (%1: how many)
    {84, 254, Role::Message},    // card files whose path is too long (%1: their names)
    {90, 254, Role::Message},    // an edited contact's card could not be written
    {91, 254, Role::Message},    // the CSV export could not be written
};

// The commands the main window dispatches.
const std::set<int> kMainWindowCommands = {100, 102, 103, 104, 112, 113, 114, 115, 116, 118,
                                           119, 120, 121, 122, 123, 124, 125, 126, 134, 135, 140};

std::vector<QAction*> CommandActions(const QWidget* menu) {
  std::vector<QAction*> found;
  for (QAction* entry : menu->actions()) {
    if (QMenu* popup = entry->menu()) {
      const auto inner = CommandActions(popup);
      found.insert(found.end(), inner.begin(), inner.end());
    } else if (!entry->isSeparator()) {
      found.push_back(entry);
    }
  }
  return found;
}

std::vector<int> CommandIds(const QWidget* menu) {
  std::vector<int> ids;
  for (const QAction* action : CommandActions(menu)) ids.push_back(action->data().toInt());
  return ids;
}

// The mnemonic letter of a menu text ("&File" gives 'f'), or 0 when it has none.
QChar Mnemonic(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != QLatin1Char('&')) continue;
    if (text[i + 1] == QLatin1Char('&')) {
      ++i;
      continue;
    }
    return text[i + 1].toLower();
  }
  return QChar();
}

class ResourceContentTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadResourceLibrary(test::ProductBundle())); }
  void TearDown() override { FreeResourceLibrary(); }
};

TEST_F(ResourceContentTest, EveryStringExistsAndFitsItsBuffer) {
  for (const RequiredString& required : kRequiredStrings) {
    SCOPED_TRACE("string " + std::to_string(required.id));
    const std::string text = LoadResourceString(required.id);
    EXPECT_FALSE(text.empty());
    EXPECT_LE(static_cast<int>(text.size()), required.maxBytes);
    EXPECT_EQ(LoadResourceString(required.id, required.maxBytes + 1), text) << "cut by its buffer";
    EXPECT_EQ(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toStdString(), text)
        << "not valid UTF-8";
    switch (required.role) {
      case Role::Label:
        EXPECT_EQ(text.find('\n'), std::string::npos) << "a one-line label";
        break;
      case Role::Question:
        EXPECT_EQ(text.back(), '?') << "a question to answer with Yes or No";
        break;
      case Role::Message:
        EXPECT_NE(text.back(), '?') << "a warning with only an OK button asks nothing";
        break;
    }
  }
}

TEST_F(ResourceContentTest, MainMenuHoldsEveryCommandExactlyOnce) {
  const auto bar = LoadResourceMenuBar(154);
  ASSERT_NE(bar, nullptr);
  const std::vector<int> ids = CommandIds(bar.get());
  // Ticking and greying act on the first item of an ID, so a second one would go stale.
  for (int command : kMainWindowCommands) {
    EXPECT_EQ(std::count(ids.begin(), ids.end(), command), 1) << "command " << command;
  }
  for (int id : ids) EXPECT_TRUE(kMainWindowCommands.count(id)) << "menu item " << id << " is no command";
  for (const QAction* action : CommandActions(bar.get())) {
    EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
  }
}

TEST_F(ResourceContentTest, SortAndViewItemsTickAndStartOnNameAndDetails) {
  const auto bar = LoadResourceMenuBar(154);
  ASSERT_NE(bar, nullptr);
  const std::set<int> tickable = {112, 113, 114, 115, 120, 121, 122, 123, 124};
  const std::set<int> initiallyTicked = {112, 123};  // sorted by name, details view
  for (const QAction* action : CommandActions(bar.get())) {
    const int id = action->data().toInt();
    EXPECT_EQ(action->isCheckable(), tickable.count(id) == 1) << "command " << id;
    EXPECT_EQ(action->isChecked(), initiallyTicked.count(id) == 1) << "command " << id;
  }
}

TEST_F(ResourceContentTest, PopupMenusHoldTheirCommandsInTheFirstSubmenu) {
  const std::pair<int, std::set<int>> popups[] = {
      {155, {102, 103, 118, 125, 126}},  // the contact list
      {153, {125, 126}},                 // an e-mail address on the card
  };
  for (const auto& [menuId, required] : popups) {
    SCOPED_TRACE("menu " + std::to_string(menuId));
    const auto menu = LoadResourceMenu(menuId);
    ASSERT_NE(menu, nullptr);
    const QMenu* first = SubMenu(menu.get(), 0);
    ASSERT_NE(first, nullptr);
    const std::vector<int> ids = CommandIds(first);
    for (int command : required) {
      EXPECT_EQ(std::count(ids.begin(), ids.end(), command), 1) << "command " << command;
    }
    for (int id : ids) EXPECT_TRUE(kMainWindowCommands.count(id)) << "menu item " << id << " is no command";
  }
  const auto viewerMenu = LoadResourceMenu(153);
  ASSERT_NE(viewerMenu, nullptr);
  EXPECT_EQ(CommandIds(SubMenu(viewerMenu.get(), 0)).size(), 2u) << "the viewer handles only 125 and 126";
}

void ExpectUniqueMnemonics(const QWidget* menu, const std::string& where) {
  std::set<QChar> seen;
  for (const QAction* entry : menu->actions()) {
    if (entry->isSeparator()) continue;
    const QString text = entry->menu() ? entry->menu()->title() : entry->text();
    const QChar letter = Mnemonic(text.section(QLatin1Char('\t'), 0, 0));
    EXPECT_FALSE(letter.isNull()) << where << ": no mnemonic in " << text.toStdString();
    if (!letter.isNull()) {
      EXPECT_TRUE(seen.insert(letter).second) << where << ": mnemonic used twice, " << text.toStdString();
    }
    if (QMenu* popup = entry->menu()) ExpectUniqueMnemonics(popup, where + " > " + text.toStdString());
  }
}

TEST_F(ResourceContentTest, EveryMenuLevelHasDistinctMnemonics) {
  const auto bar = LoadResourceMenuBar(154);
  ASSERT_NE(bar, nullptr);
  ExpectUniqueMnemonics(bar.get(), "menu 154");
  for (int id : {155, 153}) {
    const auto menu = LoadResourceMenu(id);
    ASSERT_NE(menu, nullptr);
    ExpectUniqueMnemonics(SubMenu(menu.get(), 0), "menu " + std::to_string(id));
  }
}

TEST_F(ResourceContentTest, AcceleratorTableFitsTheCommandsAndLeavesTheListKeysAlone) {
  const auto table = LoadResourceAccelerators(QStringLiteral("ZiziZiziAccel"));
  ASSERT_FALSE(table.empty());
  const QKeySequence listKeys[] = {Qt::Key_Insert, Qt::Key_Delete, Qt::Key_Up,    Qt::Key_Down,
                                   Qt::Key_Home,   Qt::Key_End,    Qt::Key_Escape};
  const auto bar = LoadResourceMenuBar(154);
  ASSERT_NE(bar, nullptr);
  for (const Accelerator& accelerator : table) {
    const std::string keys = accelerator.keys.toString().toStdString();
    EXPECT_TRUE(kMainWindowCommands.count(accelerator.command)) << keys;
    EXPECT_NE(FindCommandAction(bar.get(), accelerator.command), nullptr) << keys << " has no menu item";
    for (const QKeySequence& listKey : listKeys) EXPECT_NE(accelerator.keys, listKey) << keys;
  }
}

// A key shown in a menu item must do what the item does: through the
// accelerator table, or through the contact list for Insert and Delete.
TEST_F(ResourceContentTest, KeysShownInTheMainMenuTriggerTheirItems) {
  const auto table = LoadResourceAccelerators(QStringLiteral("ZiziZiziAccel"));
  const auto bar = LoadResourceMenuBar(154);
  ASSERT_NE(bar, nullptr);
  int shown = 0;
  for (const QAction* action : CommandActions(bar.get())) {
    const QString text = action->text();
    if (!text.contains(QLatin1Char('\t'))) continue;
    ++shown;
    const QString hint = text.section(QLatin1Char('\t'), 1);
    const QKeySequence keys = QKeySequence::fromString(hint, QKeySequence::PortableText);
    const int command = action->data().toInt();
    SCOPED_TRACE(text.toStdString());
    ASSERT_EQ(keys.count(), 1);
    if (keys == QKeySequence(Qt::Key_Insert)) {
      EXPECT_EQ(command, 100);
    } else if (keys == QKeySequence(Qt::Key_Delete)) {
      EXPECT_EQ(command, 103);
    } else {
      const auto bound = std::find_if(table.begin(), table.end(), [&](const Accelerator& a) { return a.keys == keys; });
      ASSERT_NE(bound, table.end()) << "the key is in no accelerator";
      EXPECT_EQ(bound->command, command);
    }
  }
  EXPECT_GT(shown, 0);
}

bool HasVisiblePixels(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) > 0) return true;
    }
  }
  return false;
}

TEST_F(ResourceContentTest, IconsHoldTheSizesTheirUsersDraw) {
  const std::pair<int, std::vector<int>> icons[] = {
      {130, {16, 32}},  // window icon: title bar and task switcher
      {401, {16, 32}},  // contact: small and large image lists, editor sheet
      {515, {16}},      // preferred e-mail mark in a 16-pixel image list
      {539, {32}},      // sound button of 36 x 36 pixels
  };
  for (const auto& [id, sizes] : icons) {
    SCOPED_TRACE("icon " + std::to_string(id));
    const QIcon icon = LoadResourceIcon(id);
    ASSERT_FALSE(icon.isNull());
    for (int size : sizes) {
      EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
      EXPECT_TRUE(HasVisiblePixels(icon.pixmap(size, size).toImage())) << size;
    }
  }
}

TEST_F(ResourceContentTest, PlaceholderBitmapIsOpaque) {
  const QImage bitmap = LoadResourceBitmap(201).toImage();
  ASSERT_FALSE(bitmap.isNull());
  EXPECT_GE(bitmap.width(), 48);
  EXPECT_GE(bitmap.height(), 48);
  // It is copied over the photo frame as it is, so no pixel may let the frame show through.
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) ASSERT_EQ(qAlpha(bitmap.pixel(x, y)), 255) << x << "," << y;
  }
}

TEST_F(ResourceContentTest, HandCursorPointsWithAnOpaquePixel) {
  const auto cursor = LoadResourceCursor(527);
  ASSERT_TRUE(cursor.has_value());
  const QImage image = cursor->pixmap().toImage();
  EXPECT_EQ(image.size(), QSize(32, 32));
  const QPoint hot = cursor->hotSpot();
  ASSERT_TRUE(image.rect().contains(hot));
  EXPECT_EQ(qAlpha(image.pixel(hot)), 255) << "the hot spot lies on the drawing";
  EXPECT_LT(hot.y(), 4) << "the finger tip is at the top";
}

}  // namespace
}  // namespace ab
