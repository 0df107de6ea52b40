// The import run over a real card folder: cards written, table rows, the
// table limit, and what the saved cards hold when read back.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "CsvTestSupport.h"
#include "contacts/CardStore.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "csvimport/CsvImport.h"

namespace ab {
namespace {

using testing::Encode;
using testing::QuotedLine;
using testing::TempFolder;
using Strings = std::vector<std::string>;

const Strings kHeadings = {"Title",         "First Name",     "Last Name",       "Job Title",
                           "Business Street", "Business City", "Home Street",     "Business Phone",
                           "Home Phone",    "Mobile Phone",   "E-mail Address",  "E-mail 2 Address",
                           "Notes",         "Web Page"};

std::string CsvOf(const Strings& headings, const std::vector<Strings>& rows, const char* lineEnd = "\r\n") {
  std::string bytes = QuotedLine(headings) + lineEnd;
  for (const Strings& row : rows) bytes += QuotedLine(row) + lineEnd;
  return bytes;
}

// A row of kHeadings for contact number n.
Strings PersonRow(int n) {
  const std::string s = std::to_string(n);
  return {"", "Given" + s, "Family" + s, "", "", "", "", "555-" + s, "", "", "p" + s + "@example.com", "", "", ""};
}

// FOLDER/VC<0..32767>.vcf, the name of a card the program made.
bool IsCardName(const std::string& path, const std::string& folder) {
  const std::string prefix = folder + "/VC";
  if (path.rfind(prefix, 0) != 0 || path.size() < prefix.size() + 5) return false;
  const std::string number = path.substr(prefix.size(), path.size() - prefix.size() - 4);
  if (path.substr(path.size() - 4) != ".vcf" || number.empty() || number.size() > 5) return false;
  if (number.find_first_not_of("0123456789") != std::string::npos) return false;
  if (number.size() > 1 && number[0] == '0') return false;
  return std::stoi(number) <= 32767;
}

class CsvImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cards_ = temp_.path() + "/cards";
    ASSERT_EQ(LoadCardFolder(cards_, [](int) { return kAnswerNo; }), 1);
    ASSERT_EQ(contactCount, 0);
  }

  std::string WriteCsv(std::string_view bytes) { return temp_.Write("import.csv", bytes); }

  // The card files of the folder.
  std::set<std::string> CardFiles() const {
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(cards_)) files.insert(entry.path().string());
    return files;
  }

  std::set<std::string> TablePaths() const {
    std::set<std::string> paths;
    for (int i = 0; i < contactCount; ++i) paths.insert(contactTable[static_cast<std::size_t>(i)].filePath.str());
    return paths;
  }

  // Rows standing for cards that are already in the table.
  static void FillTableWithExisting(int rows) {
    ContactRecord record;
    for (int i = 0; i < rows; ++i) {
      record.Clear();
      record.formattedName = "Existing " + std::to_string(i);
      record.filePath = "/nonexistent/Existing" + std::to_string(i) + ".vcf";
      FillRow(record, i);
    }
    contactCount = rows;
  }

  TempFolder temp_;
  std::string cards_;
};

TEST_F(CsvImportTest, EveryDataRowBecomesACardInSortedPosition) {
  const std::vector<Strings> rows = {PersonRow(3), PersonRow(1), PersonRow(2)};
  ASSERT_EQ(ImportCsvFile(WriteCsv(CsvOf(kHeadings, rows))), 1);
  ASSERT_EQ(contactCount, 3);
  EXPECT_EQ(contactTable[0].displayName, "Given1Family1");
  EXPECT_EQ(contactTable[1].displayName, "Given2Family2");
  EXPECT_EQ(contactTable[2].displayName, "Given3Family3");
  EXPECT_EQ(contactTable[0].email, "p1@example.com");
  EXPECT_EQ(contactTable[0].workPhone, "555-1");

  // Each card is its own file in the card folder, under a made-up card name.
  EXPECT_EQ(TablePaths(), CardFiles());
  for (const std::string& path : TablePaths()) EXPECT_TRUE(IsCardName(path, cards_)) << path;
  EXPECT_EQ(currentRecord->filePath, contactTable[static_cast<std::size_t>(FindRow("Given2Family2", FIND_BY_NAME))].filePath);
}

TEST_F(CsvImportTest, SavedCardsReadBackWithTheirFields) {
  const Strings row = {"Dr ",  "Anna",  "Berg",     "Chief; of staff", "Main St 1\r\nFloor 2", "Oslo",
                       "Home Road 5", "+47 1", "+47 2",  "+47 3",           "anna@example.no",      "a2@example.no",
                       "not imported", "http://anna.example.no"};
  ASSERT_EQ(ImportCsvFile(WriteCsv(CsvOf(kHeadings, {row}))), 1);
  ASSERT_EQ(contactCount, 1);

  ContactRecord card;
  ASSERT_EQ(ReadCard(card, contactTable[0].filePath.str()), 1);
  EXPECT_EQ(card.formattedName, "Dr AnnaBerg");
  EXPECT_EQ(card.givenName, "Anna");
  EXPECT_EQ(card.familyName, "Berg");
  EXPECT_EQ(card.additionalNames, "AnnaBerg");
  // Semicolons and line breaks are in the stored form in the card.
  EXPECT_EQ(card.title, "Chief\x02\x02 of staff");
  EXPECT_EQ(card.addresses[0].street, "Main St 1\x01\x01" "Floor 2");
  EXPECT_EQ(card.addresses[0].locality, "Oslo");
  EXPECT_EQ(card.addresses[1].street, "Home Road 5");
  EXPECT_TRUE(card.addresses[0].flags & FLAG_WORK);
  EXPECT_TRUE(card.addresses[1].flags & FLAG_HOME);
  EXPECT_EQ(card.workPhones[0].number, "+47 1");
  EXPECT_EQ(card.homePhones[0].number, "+47 2");
  EXPECT_EQ(card.homePhones[3].number, "+47 3");
  EXPECT_EQ(card.emailCount, 2);
  EXPECT_EQ(card.preferredEmail, 0);
  EXPECT_EQ(card.emails[0].address, "anna@example.no");
  EXPECT_TRUE(card.emails[0].flags & FLAG_PREF);
  EXPECT_EQ(card.emails[1].address, "a2@example.no");
  EXPECT_EQ(card.urls[0].url, "http://anna.example.no");
  EXPECT_EQ(card.urls[1].url, "http://anna.example.no");
  EXPECT_EQ(card.note, "");
  EXPECT_EQ(contactTable[0].displayName, "Dr AnnaBerg");
}

TEST_F(CsvImportTest, ChineseBig5ExportGivesUtf8Cards) {
  const std::string utf8 = CsvOf({"名字", "姓氏", "電子郵件地址", "住家電話"}, {{"小明", "王", "ming@example.tw", "02-1234"}});
  ASSERT_EQ(ImportCsvFile(WriteCsv(Encode(utf8, "CP950"))), 1);
  ASSERT_EQ(contactCount, 1);
  ContactRecord card;
  ASSERT_EQ(ReadCard(card, contactTable[0].filePath.str()), 1);
  EXPECT_EQ(card.formattedName, "小明王");
  EXPECT_EQ(card.familyName, "王");
  EXPECT_EQ(card.emails[0].address, "ming@example.tw");
  EXPECT_EQ(card.homePhones[0].number, "02-1234");
}

TEST_F(CsvImportTest, TableFillingUpStopsTheRunWithResultZero) {
  FillTableWithExisting(250);
  std::vector<Strings> rows;
  for (int i = 0; i < 10; ++i) rows.push_back(PersonRow(i));
  EXPECT_EQ(ImportCsvFile(WriteCsv(CsvOf(kHeadings, rows))), 0);
  EXPECT_EQ(contactCount, kMaxContacts);
  EXPECT_EQ(CardFiles().size(), 6u);
  // The first six rows of the file were imported, the other four not.
  for (int i = 0; i < 10; ++i) {
    const std::string name = "Given" + std::to_string(i) + "Family" + std::to_string(i);
    EXPECT_EQ(FindRow(name, FIND_BY_NAME) != -1, i < 6) << name;
  }
  EXPECT_NE(FindRow("Existing 0", FIND_BY_NAME), -1);
}

TEST_F(CsvImportTest, FullTableImportsNothing) {
  FillTableWithExisting(kMaxContacts);
  EXPECT_EQ(ImportCsvFile(WriteCsv(CsvOf(kHeadings, {PersonRow(1)}))), 0);
  EXPECT_EQ(contactCount, kMaxContacts);
  EXPECT_TRUE(CardFiles().empty());
  // A file without data rows never reaches the limit.
  EXPECT_EQ(ImportCsvFile(WriteCsv(CsvOf(kHeadings, {}))), 1);
}

TEST_F(CsvImportTest, MoreRowsThanTheTableHoldsStopAtTheLimit) {
  std::vector<Strings> rows;
  for (int i = 0; i < 300; ++i) rows.push_back(PersonRow(i));
  EXPECT_EQ(ImportCsvFile(WriteCsv(CsvOf(kHeadings, rows))), 0);
  EXPECT_EQ(contactCount, kMaxContacts);
  EXPECT_EQ(CardFiles().size(), static_cast<std::size_t>(kMaxContacts));
  EXPECT_EQ(TablePaths(), CardFiles());
}

TEST_F(CsvImportTest, FilesWithoutDataRowsMakeNoCards) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"only the heading row", CsvOf(kHeadings, {})},
      {"heading row and empty lines", CsvOf(kHeadings, {}) + "\r\n\r\n"},
      {"empty file", ""},
      {"first row without a value", "\r\n" + CsvOf(kHeadings, {PersonRow(1)})},
      {"unquoted first row", "First Name\r\n" + QuotedLine(PersonRow(1)) + "\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ImportCsvFile(WriteCsv(c.bytes)), 1);
    EXPECT_EQ(contactCount, 0);
    EXPECT_TRUE(CardFiles().empty());
  }
}

TEST_F(CsvImportTest, EmptyLinesBetweenRowsAreSkipped) {
  std::string bytes = QuotedLine(kHeadings) + "\r\n\r\n";
  for (int i = 0; i < 4; ++i) bytes += QuotedLine(PersonRow(i)) + "\r\n\r\n\n";
  EXPECT_EQ(ImportCsvFile(WriteCsv(bytes)), 1);
  EXPECT_EQ(contactCount, 4);
  EXPECT_EQ(CardFiles().size(), 4u);
}

TEST_F(CsvImportTest, UnknownHeadingsStillGiveOneCardPerRow) {
  EXPECT_EQ(ImportCsvFile(WriteCsv(CsvOf({"Name", "Mail"}, {{"Ann", "a@x"}, {"Bob", "b@x"}}))), 1);
  ASSERT_EQ(contactCount, 2);
  EXPECT_EQ(CardFiles().size(), 2u);
  EXPECT_EQ(contactTable[0].displayName, "");
  EXPECT_EQ(contactTable[0].email, "");
}

TEST_F(CsvImportTest, MissingFileShowsTheMessageAndImportsNothing) {
  Strings shown;
  CsvImportHooks hooks;
  hooks.showMessage = [&](std::string_view text, std::string_view caption) {
    shown.push_back(std::string(caption) + "|" + std::string(text));
  };
  EXPECT_EQ(ImportCsvFile(temp_.File("absent.csv"), hooks), 1);
  EXPECT_EQ(shown, Strings{"IMPORT ERROR|can not open CSV file"});
  EXPECT_EQ(contactCount, 0);
}

TEST_F(CsvImportTest, CardAddedHookSeesEachNewRowBeforeSorting) {
  struct Added {
    int row;
    int saved;
    std::string name;
    int countAtCall;
  };
  std::vector<Added> added;
  CsvImportHooks hooks;
  hooks.cardAdded = [&](int row, int saved) {
    added.push_back({row, saved, contactTable[static_cast<std::size_t>(row)].displayName.str(), contactCount});
    // The window program sorts here; without it the rows stay in file order.
  };
  ASSERT_EQ(ImportCsvFile(WriteCsv(CsvOf(kHeadings, {PersonRow(9), PersonRow(5)})), hooks), 1);
  ASSERT_EQ(added.size(), 2u);
  EXPECT_EQ(added[0].row, 0);
  EXPECT_EQ(added[0].saved, 1);
  EXPECT_EQ(added[0].name, "Given9Family9");
  EXPECT_EQ(added[0].countAtCall, 1);
  EXPECT_EQ(added[1].row, 1);
  EXPECT_EQ(added[1].name, "Given5Family5");
  EXPECT_EQ(contactTable[0].displayName, "Given9Family9");  // not sorted by the run itself
  EXPECT_EQ(currentRow, 1);
}

TEST_F(CsvImportTest, DefaultHookSortsByTheGivenColumn) {
  std::vector<Strings> rows = {PersonRow(1), PersonRow(2), PersonRow(3)};
  rows[0][10] = "c@example.com";
  rows[1][10] = "A@example.com";
  rows[2][10] = "b@example.com";
  CsvImportHooks hooks;
  hooks.sortColumn = SORT_BY_EMAIL;
  ASSERT_EQ(ImportCsvFile(WriteCsv(CsvOf(kHeadings, rows)), hooks), 1);
  EXPECT_EQ(contactTable[0].email, "A@example.com");
  EXPECT_EQ(contactTable[1].email, "b@example.com");
  EXPECT_EQ(contactTable[2].email, "c@example.com");
}

TEST_F(CsvImportTest, ExistingCardsStayAndNewNamesDoNotCollide) {
  ContactRecord existing;
  existing.formattedName = "Zed";
  ASSERT_EQ(SaveAs(existing, cards_ + "/VC1.vcf"), 1);
  existing.formattedName = "Ada";
  ASSERT_EQ(SaveAs(existing, cards_ + "/mine.vcf"), 1);
  ASSERT_EQ(LoadCardFolder(cards_, [](int) { return kAnswerNo; }), 1);
  ASSERT_EQ(contactCount, 2);

  std::vector<Strings> rows;
  for (int i = 0; i < 20; ++i) rows.push_back(PersonRow(i));
  ASSERT_EQ(ImportCsvFile(WriteCsv(CsvOf(kHeadings, rows))), 1);
  EXPECT_EQ(contactCount, 22);
  EXPECT_EQ(CardFiles().size(), 22u);
  EXPECT_EQ(TablePaths(), CardFiles());
  ContactRecord card;
  ASSERT_EQ(ReadCard(card, cards_ + "/VC1.vcf"), 1);
  EXPECT_EQ(card.formattedName, "Zed");
  EXPECT_EQ(contactTable[0].displayName, "Ada");
  EXPECT_EQ(contactTable[21].displayName, "Zed");
}

}  // namespace
}  // namespace ab
