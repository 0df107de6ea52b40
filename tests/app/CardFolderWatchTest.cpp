#include "app/CardFolderWatch.h"

#include <QMessageBox>
#include <QTimer>

#include <filesystem>

#include "app/AppHarness.h"

namespace ab::testing {
namespace {

class CardFolderWatchTest : public AppTest {
 protected:
  std::string Card(const std::string& name) const { return cardFolder.str() + name; }
  void Write(const std::string& name, const std::string& fn) const {
    folder_.Write("VCardData/" + name, "BEGIN:VCARD\r\nFN:" + fn + "\r\nEND:VCARD\r\n");
  }
  static bool Waited(int count) {
    return QTest::qWaitFor([count] { return contactCount == count && listWindow->model()->rowCount() == count; }, 3000);
  }
  static std::string Current() { return IsValidRow(currentRow) ? Path(currentRow) : ""; }
};

TEST_F(CardFolderWatchTest, TheListFollowsOtherProgramsAndKeepsTheCurrentContact) {
  LoadCards({{"Ann", "", "", ""}, {"Bob", "", "", ""}, {"Cy", "", "", ""}});
  OpenWindow(1);
  new CardFolderWatch(window_.get(), cardFolder.str());
  const std::string kept = Current();

  Write("VC9001.vcf", "Aaron Added");  // sorts first: the current contact's row moves
  ASSERT_TRUE(Waited(4));
  EXPECT_TRUE(Current() == kept && listWindow->FirstSelectedRow() == currentRow);
  EXPECT_EQ(FindRow(Card("VC9001.vcf"), FIND_BY_PATH), 0);

  Write("VC9001.vcf", "Zed Changed");  // rewritten in place, as an editor saves
  ASSERT_TRUE(QTest::qWaitFor([] { return contactTable[static_cast<std::size_t>(contactCount - 1)].displayName == "Zed Changed"; }, 3000));
  EXPECT_TRUE(Current() == kept && currentRecord->filePath.str() == kept);

  // Under a dialog the table stays as it is; the reload comes once it is closed.
  QMessageBox box(QMessageBox::Information, "x", "y", QMessageBox::Ok, window_.get());
  QTimer::singleShot(0, [this] { std::filesystem::remove(Card("VC9001.vcf")); });
  QTimer::singleShot(1200, &box, [&box] {
    EXPECT_EQ(contactCount, 4);
    box.accept();
  });
  box.exec();
  ASSERT_TRUE(Waited(3));

  std::filesystem::remove(kept);  // the current contact's own card goes: the row in its place is current
  ASSERT_TRUE(Waited(2));
  EXPECT_TRUE(IsValidRow(currentRow) && currentRecord->filePath.str() == Current());
  EXPECT_FALSE(ReloadCardTable(window_.get()));  // nothing more to follow
}

}  // namespace
}  // namespace ab::testing
