#include "contacts/CardStore.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>

#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "support/CardBuilders.h"
#include "support/TempFolder.h"

namespace ab {
namespace {

namespace fs = std::filesystem;

class CardStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    contactCount = 0;
    currentRecord.reset();
    cards_ = program_.path() + "/VCardData";
    fs::create_directory(cards_);
  }

  void WriteCard(const std::string& name, const std::vector<std::string>& lines) const {
    std::ofstream(cards_ + "/" + name, std::ios::binary) << testing::Card(lines);
  }

  int Load(int answer = kAnswerNo) {
    asked_ = 0;
    return LoadCardStore(program_.path(), [&](int id) {
      ++asked_;
      EXPECT_EQ(id, kCardFolderQuestion);
      return answer;
    });
  }

  testing::TempFolder program_;
  std::string cards_;
  int asked_ = 0;
};

// Each column sorts without regard to letter case; equal keys keep their order.
TEST(SortTableTest, EveryColumnSortsCaseFoldedAndStable) {
  const std::vector<std::array<const char*, 4>> rows = {  // name, e-mail, work phone, home phone
      {"bob", "c@x", "3", "1"}, {"Alice", "a@x", "2", "3"}, {"carl", "B@x", "1", "2"}, {"alice", "a@x", "2", "1"}};
  const char* const expected[] = {"1302", "1320", "2130", "0321"};  // the rows' first places, by column
  for (int column = SORT_BY_NAME; column <= SORT_BY_HOME_PHONE; ++column) {
    contactCount = static_cast<std::int32_t>(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      ContactRow& row = contactTable[i];
      row.displayName = rows[i][0], row.email = rows[i][1], row.workPhone = rows[i][2], row.homePhone = rows[i][3];
      row.filePath = std::to_string(i);
    }
    SortTable(column);
    std::string order;
    for (std::size_t i = 0; i < rows.size(); ++i) order += contactTable[i].filePath.str();
    EXPECT_EQ(order, expected[column]) << "column " << column;
  }
  contactCount = 0;
}

// A missing folder is made without asking (the import tests load new folders).
TEST_F(CardStoreTest, AFileInPlaceOfTheFolderIsRemovedOnlyWhenAllowed) {
  fs::remove(cards_);
  std::ofstream(cards_) << "in the way";
  EXPECT_EQ(Load(kAnswerNo), 0);
  EXPECT_EQ(asked_, 1);
  EXPECT_TRUE(fs::is_regular_file(cards_));
  EXPECT_EQ(Load(kAnswerYes), 1);
  EXPECT_TRUE(fs::is_directory(cards_));
}

// The import tests check that new names are free names in the card folder.
TEST_F(CardStoreTest, SaveNewNeverReplacesAFileThatTookItsName) {
  ASSERT_EQ(Load(), 1);
  ContactRecord record, back;
  record.formattedName = "Mine";
  record.filePath = cards_ + "/VC40000.vcf";
  WriteCard("VC40000.vcf", {"FN:Another writer's"});  // taken meanwhile
  ASSERT_EQ(SaveNew(record), 1);
  ASSERT_NE(record.filePath.view(), cards_ + "/VC40000.vcf");
  ASSERT_EQ(ReadCard(back, cards_ + "/VC40000.vcf"), 1);
  EXPECT_EQ(back.formattedName, "Another writer's");
  ASSERT_EQ(ReadCard(back, record.filePath.str()), 1);
  EXPECT_EQ(back.formattedName, "Mine");
}

TEST_F(CardStoreTest, LoadRemovesOnlyOldLeftoversOfInterruptedSaves) {
  const std::vector<std::string> leftovers = {".VC12.vcf.aB3dE9", "VC13.vcf.Q1w2E3", ".John.VCF.zzzzzz"};
  const std::vector<std::string> kept = {"VC14.vcf.backup", "notes.txt.A1b2C3", ".VC15.vcf.aB3d", "VC16.vcf"};
  const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(5);
  for (const auto& name : leftovers) WriteCard(name, {}), fs::last_write_time(cards_ + "/" + name, old);
  for (const auto& name : kept) WriteCard(name, {}), fs::last_write_time(cards_ + "/" + name, old);
  WriteCard(".VC17.vcf.Fresh1", {});  // a save under way in another copy of the program
  ASSERT_EQ(Load(), 1);
  for (const auto& name : leftovers) EXPECT_FALSE(fs::exists(cards_ + "/" + name)) << name;
  for (const auto& name : kept) EXPECT_TRUE(fs::exists(cards_ + "/" + name)) << name;
  EXPECT_TRUE(fs::exists(cards_ + "/.VC17.vcf.Fresh1"));
}

TEST_F(CardStoreTest, PathsTooLongForTheTable) {
  // A folder that leaves room for short names only: 255 units for a whole path.
  const std::string folder = program_.path() + "/" + std::string(235 - program_.path().size(), 'd');
  fs::create_directories(folder);
  std::ofstream(folder + "/VC1.vcf") << testing::Card({"FN:Short"});
  std::ofstream(folder + "/a-card-with-a-name-too-long.vcf") << testing::Card({"FN:Long"});
  FolderLoadReport report;
  ASSERT_EQ(LoadCardFolder(folder, nullptr, &report), 1);
  ASSERT_EQ(contactCount, 1);
  EXPECT_EQ(contactTable[0].displayName, "Short");
  EXPECT_EQ(report.pathTooLong, std::vector<std::string>{"a-card-with-a-name-too-long.vcf"});
}

}  // namespace
}  // namespace ab
