#include "contacts/CardStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <set>

#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "support/TempFolder.h"

namespace ab {
namespace {

namespace fs = std::filesystem;

std::string Card(std::string_view body) { return "BEGIN:VCARD\r\n" + std::string(body) + "END:VCARD\r\n"; }

class CardStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    contactCount = 0;
    currentRecord.reset();
    cards_ = program_.path() + "/VCardData";
    fs::create_directory(cards_);
  }

  void WriteCard(const std::string& name, std::string_view body) const {
    std::ofstream(cards_ + "/" + name, std::ios::binary) << Card(body);
  }

  int Load(int answer = kAnswerNo) {
    asked_ = 0;
    return LoadCardStore(program_.path(), [&](int id) {
      ++asked_;
      EXPECT_EQ(id, kCardFolderQuestion);
      return answer;
    });
  }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (int i = 0; i < contactCount; ++i) names.push_back(contactTable[static_cast<std::size_t>(i)].displayName.str());
    return names;
  }

  testing::TempFolder program_;
  std::string cards_;
  int asked_ = 0;
};

TEST_F(CardStoreTest, MissingFolderIsCreatedAndTableIsEmpty) {
  fs::remove(cards_);
  ASSERT_EQ(Load(), 1);
  EXPECT_TRUE(fs::is_directory(cards_));
  EXPECT_EQ(contactCount, 0);
  EXPECT_EQ(cardFolder.view(), cards_ + "/");
  EXPECT_TRUE(currentRecord);
  EXPECT_EQ(asked_, 0);
}

TEST_F(CardStoreTest, FileInThePlaceOfTheFolder) {
  fs::remove(cards_);
  std::ofstream(cards_) << "in the way";
  EXPECT_EQ(Load(kAnswerNo), 0);
  EXPECT_EQ(asked_, 1);
  EXPECT_TRUE(fs::is_regular_file(cards_));  // No keeps the file

  EXPECT_EQ(Load(kAnswerYes), 1);
  EXPECT_TRUE(fs::is_directory(cards_));
}

TEST_F(CardStoreTest, RowsComeSortedAndOnlyFromReadableCards) {
  WriteCard("a.vcf", "FN:bob\r\nEMAIL;PREF:bob@x\r\nTEL;WORK;VOICE:1\r\nTEL;HOME;VOICE:2\r\n");
  WriteCard("b.VCF", "FN:Alice\r\n");
  WriteCard("c.vcf", "TITLE:nameless\r\n");
  WriteCard("d.vcf", "FN:Zed\x02\x02Jr\r\nNOTE:x\r\n");
  WriteCard("e.vcf", "FN:_under\r\n");
  WriteCard("notes.txt", "FN:Not a card file\r\n");
  std::ofstream(cards_ + "/broken.vcf") << "hello";
  fs::create_directory(cards_ + "/folder.vcf");
  ASSERT_EQ(Load(), 1);
  // Case folding covers A-Z only; '_' (0x5F) sorts before small letters.
  EXPECT_EQ(Names(), (std::vector<std::string>{"_under", "Alice", "bob", "noname", "Zed;Jr"}));
  const ContactRow& bob = contactTable[2];
  EXPECT_EQ(bob.email, "bob@x");
  EXPECT_EQ(bob.workPhone, "1");
  EXPECT_EQ(bob.homePhone, "2");
  EXPECT_EQ(bob.filePath.view(), cards_ + "/a.vcf");
}

TEST_F(CardStoreTest, TheFirst256CardsByFileNameAreLoadedAndTheRestCounted) {
  std::set<std::string> names;  // in byte order
  for (int i = 0; i < 300; ++i) {
    names.insert(cards_ + "/VC" + std::to_string(i) + ".vcf");
    WriteCard("VC" + std::to_string(i) + ".vcf", "FN:Person " + std::to_string(i) + "\r\n");
  }
  std::ofstream(cards_ + "/VC.vcf") << "not a card";  // first by name; read, but takes no row
  names.insert(cards_ + "/VC.vcf");
  FolderLoadReport report;
  ASSERT_EQ(LoadCardStore(program_.path(), nullptr, &report), 1);
  ASSERT_EQ(contactCount, 256);
  std::set<std::string> paths;
  for (int i = 0; i < contactCount; ++i) paths.insert(contactTable[static_cast<std::size_t>(i)].filePath.str());
  EXPECT_EQ(paths, std::set<std::string>(std::next(names.begin()), std::next(names.begin(), 257)));
  EXPECT_EQ(report.notLoaded, 44);
}

TEST_F(CardStoreTest, SortByEachColumn) {
  WriteCard("1.vcf", "FN:b\r\nEMAIL;PREF:C@x\r\nTEL;WORK:3\r\nTEL;HOME:1\r\n");
  WriteCard("2.vcf", "FN:c\r\nEMAIL;PREF:a@x\r\nTEL;WORK:1\r\nTEL;HOME:2\r\n");
  WriteCard("3.vcf", "FN:a\r\nEMAIL;PREF:b@x\r\nTEL;WORK:2\r\nTEL;HOME:3\r\n");
  ASSERT_EQ(Load(), 1);
  struct Expect {
    int column;
    std::vector<std::string> names;
  };
  for (const auto& e : {Expect{SORT_BY_EMAIL, {"c", "a", "b"}}, Expect{SORT_BY_WORK_PHONE, {"c", "a", "b"}},
                        Expect{SORT_BY_HOME_PHONE, {"b", "c", "a"}}, Expect{SORT_BY_NAME, {"a", "b", "c"}},
                        Expect{99, {"a", "b", "c"}}}) {
    SortTable(e.column);
    EXPECT_EQ(Names(), e.names) << "column " << e.column;
  }
  // Rows move whole: each name keeps its own card.
  SortTable(SORT_BY_HOME_PHONE);
  EXPECT_EQ(contactTable[0].filePath.view(), cards_ + "/1.vcf");
}

TEST(CompareFoldedTest, FoldsOnlyCapitalLetters) {
  EXPECT_EQ(CompareFolded("ABC", "abc"), 0);
  EXPECT_LT(CompareFolded("ab", "abc"), 0);
  EXPECT_GT(CompareFolded("b", "Abc"), 0);
  EXPECT_NE(CompareFolded("\xC3\x84", "\xC3\xA4"), 0);  // Ä and ä are not folded
  EXPECT_GT(CompareFolded("\xE4", "z"), 0);              // bytes compare unsigned
}

TEST_F(CardStoreTest, FindRowAndCopyRow) {
  for (int i = 0; i < 10; ++i) WriteCard("VC" + std::to_string(i) + ".vcf", "FN:n" + std::to_string(i) + "\r\n");
  ASSERT_EQ(Load(), 1);
  EXPECT_EQ(FindRow("n3", FIND_BY_NAME), 3);
  EXPECT_EQ(FindRow("N3", FIND_BY_NAME), -1);
  EXPECT_EQ(FindRow(cards_ + "/VC5.vcf", FIND_BY_PATH), 5);
  EXPECT_EQ(FindRow(cards_ + "/vc5.vcf", FIND_BY_PATH), -1);  // exact, case included
  EXPECT_EQ(FindRow("n3", 2), -1);

  // Removing row 3: the last row moves into its place.
  CopyRow(3, contactCount - 1);
  --contactCount;
  EXPECT_EQ(contactCount, 9);
  EXPECT_EQ(contactTable[3].displayName, "n9");
  EXPECT_EQ(FindRow("n3", FIND_BY_NAME), -1);
}

TEST_F(CardStoreTest, NewCardNamesNeverCollide) {
  ASSERT_EQ(Load(), 1);
  std::set<std::string> made;
  for (int i = 0; i < 200; ++i) {
    std::string path;
    MakeCardFileName(path, cardFolder.str());
    const std::string name = fs::path(path).filename().string();
    ASSERT_EQ(path.substr(0, cardFolder.size()), cardFolder.view());
    ASSERT_EQ(name.substr(0, 2), "VC");
    ASSERT_EQ(name.substr(name.size() - 4), ".vcf");
    const int number = std::stoi(name.substr(2));
    ASSERT_TRUE(number >= 0 && number <= 32767);
    ASSERT_EQ(name, "VC" + std::to_string(number) + ".vcf");  // no leading zeros
    ASSERT_FALSE(fs::exists(path));
    ASSERT_TRUE(made.insert(path).second);
    ContactRecord record;
    record.formattedName = "card";
    ASSERT_EQ(SaveAs(record, path), 1);  // taken now: the next call must pick another
  }
}

TEST_F(CardStoreTest, ANewCardNeverReplacesAFileThatTookItsName) {
  ASSERT_EQ(Load(), 1);
  std::set<std::string> drawn;  // the generator is not reseeded between calls
  for (int i = 0; i < 50; ++i) {
    std::string path;
    MakeCardFileName(path, cardFolder.str());
    drawn.insert(path);
  }
  EXPECT_GE(drawn.size(), 45u);

  ContactRecord record;
  record.formattedName = "Mine";
  const std::string taken = *drawn.begin();
  record.filePath = taken;
  WriteCard(fs::path(taken).filename().string(), "FN:Another writer's\r\n");  // taken meanwhile
  ASSERT_EQ(SaveNew(record), 1);
  EXPECT_NE(record.filePath.view(), taken);
  ContactRecord back;
  ASSERT_EQ(ReadCard(back, taken), 1);
  EXPECT_EQ(back.formattedName, "Another writer's");
  ASSERT_EQ(ReadCard(back, record.filePath.str()), 1);
  EXPECT_EQ(back.formattedName, "Mine");
}

TEST_F(CardStoreTest, LoadRemovesOnlyOldLeftoversOfInterruptedSaves) {
  const std::vector<std::string> leftovers = {".VC12.vcf.aB3dE9", "VC13.vcf.Q1w2E3", ".John.VCF.zzzzzz"};
  const std::vector<std::string> kept = {"VC14.vcf.backup", "notes.txt.A1b2C3", ".VC15.vcf.aB3d", "VC16.vcf"};
  for (const auto& name : leftovers) WriteCard(name, "FN:x\r\n");
  for (const auto& name : kept) WriteCard(name, "FN:x\r\n");
  const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(5);
  for (const auto& name : leftovers) fs::last_write_time(cards_ + "/" + name, old);
  for (const auto& name : kept) fs::last_write_time(cards_ + "/" + name, old);
  WriteCard(".VC17.vcf.Fresh1", "FN:x\r\n");  // a save under way in another copy of the program
  ASSERT_EQ(Load(), 1);
  for (const auto& name : leftovers) EXPECT_FALSE(fs::exists(cards_ + "/" + name)) << name;
  for (const auto& name : kept) EXPECT_TRUE(fs::exists(cards_ + "/" + name)) << name;
  EXPECT_TRUE(fs::exists(cards_ + "/.VC17.vcf.Fresh1"));
}

TEST_F(CardStoreTest, NewCardNameInAFullFolderIsEmpty) {
  testing::TempFolder full;
  for (int i = 0; i < 32768; ++i) std::ofstream(full.File("VC" + std::to_string(i) + ".vcf"));
  std::string path = "unchanged";
  MakeCardFileName(path, full.path() + "/");
  EXPECT_EQ(path, "");
  fs::remove(full.File("VC777.vcf"));
  MakeCardFileName(path, full.path() + "/");
  EXPECT_EQ(path, full.File("VC777.vcf"));
}

TEST_F(CardStoreTest, ACardWhosePathIsTooLongIsNamedNotLoaded) {
  // A folder that leaves room for short names only: 255 units for a whole path.
  const std::string folder = program_.path() + "/" + std::string(235 - program_.path().size(), 'd');
  fs::create_directories(folder);
  std::ofstream(folder + "/VC1.vcf") << Card("FN:Short\r\n");
  std::ofstream(folder + "/a-card-with-a-name-too-long.vcf") << Card("FN:Long\r\n");
  FolderLoadReport report;
  ASSERT_EQ(LoadCardFolder(folder, nullptr, &report), 1);
  EXPECT_EQ(Names(), std::vector<std::string>{"Short"});
  EXPECT_EQ(report.pathTooLong, std::vector<std::string>{"a-card-with-a-name-too-long.vcf"});
}

TEST_F(CardStoreTest, FolderPathTooLongForTheTableIsRefused) {
  const std::string deep = program_.path() + "/" + std::string(240, 'd');
  fs::create_directories(deep);
  EXPECT_EQ(LoadCardStore(deep, nullptr), 0);
}

}  // namespace
}  // namespace ab
