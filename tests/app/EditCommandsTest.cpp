// New contact and Edit contact through the main window, with real card files.
#include <QDialog>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "app/AppHarness.h"
#include "app/CommandIds.h"
#include "support/SheetInput.h"

namespace ab {
namespace {

class EditCommandsTest : public testing::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    LoadCards(testing::TwentyContacts());
    OpenWindow(5);
  }
  // Presses `listKey` in the list (Insert: New, Enter: Edit), types the names into the editor and ends it with `key`.
  void Edit(Qt::Key listKey, Qt::Key key, const std::function<void()>& beforeKey = [] {}) {
    testing::AnswerModal<QDialog>([key, beforeKey](QDialog* sheet) {
      testing::TypeText(sheet->findChild<QLineEdit*>(QStringLiteral("ctl1017")), "Zed");
      testing::TypeText(sheet->findChild<QLineEdit*>(QStringLiteral("ctl1018")), "Ann");
      beforeKey();
      QTest::keyClick(sheet->focusWidget(), key);
    }, window_.get());
    Key(listKey);
  }
  std::map<std::string, std::string> Cards() const {
    std::map<std::string, std::string> cards;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.File("VCardData")))
      cards[entry.path()] = testing::TempFolder::Read(entry.path());
    return cards;
  }
};

TEST_F(EditCommandsTest, OkWritesTheCardAndSelectsItsSortedRowEscapeWritesNothing) {
  for (Qt::Key listKey : {Qt::Key_Insert, Qt::Key_Return}) {
    SCOPED_TRACE(listKey);
    const std::map<std::string, std::string> before = Cards();
    const int count = contactCount;
    Edit(listKey, Qt::Key_Escape);
    EXPECT_EQ(Cards(), before);
    EXPECT_EQ(currentRow, 5);

    Edit(listKey, Qt::Key_Return);
    std::string written;
    for (const auto& [f, card] : Cards()) written += before.count(f) && before.at(f) == card ? "" : f;
    EXPECT_EQ(contactCount, listKey == Qt::Key_Insert ? count + 1 : count);
    EXPECT_NE(testing::TempFolder::Read(written).find("N:Zed;Ann;"), std::string::npos);
    ASSERT_EQ(currentRow, FindRow(written, FIND_BY_PATH));
    EXPECT_EQ(contactTable[currentRow].displayName.str() + currentRecord->formattedName.str(), "Zed AnnZed Ann");
    EXPECT_EQ(listWindow->FirstSelectedRow(), currentRow);
    for (int row = 1; row < contactCount; ++row) EXPECT_LE(CompareListRows(contactTable[row - 1], contactTable[row], 0), 0);
    listWindow->SelectRow(currentRow = 5);
  }
}

// New with a full table, or a write that fails, warns and changes no row.
TEST_F(EditCommandsTest, AFullTableOrAFailedWriteWarnsAndChangesNoRow) {
  const std::string shown(contactTable[5].displayName.view());
  const auto removeFolder = [this] { std::filesystem::remove_all(folder_.File("VCardData")); };
  const std::map<std::string, std::string> before = Cards();
  contactCount = kMaxContacts;  // the rows past the twenty cards are never read here
  EXPECT_EQ(testing::WarningFrom([] { Command(kNewContactCommand); }), LoadResourceString(29));
  EXPECT_EQ(Cards(), before);
  contactCount = 20;
  for (const auto& [listKey, warning] : {std::pair{Qt::Key_Insert, 29}, std::pair{Qt::Key_Return, 90}}) {
    SCOPED_TRACE(listKey);
    EXPECT_EQ(testing::WarningFrom([&] { Edit(listKey, Qt::Key_Return, removeFolder); }), LoadResourceString(warning));
    EXPECT_TRUE(contactCount == 20 && currentRow == 5 && contactTable[5].displayName == shown);
  }
}

}  // namespace
}  // namespace ab
