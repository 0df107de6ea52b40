// The import run over a real card folder: cards written, table rows, the
// table limit, and what the saved cards hold when read back.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "contacts/CardStore.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "csvimport/CsvExport.h"
#include "csvimport/CsvHeadings.h"
#include "csvimport/CsvImport.h"
#include "support/CardBuilders.h"
#include "support/CsvTestSupport.h"

namespace ab {
namespace {

using testing::CsvOf;
using testing::QuotedLine;
using testing::TempFolder;
using Strings = std::vector<std::string>;

const Strings kHeadings = {"First Name", "Last Name", "E-mail Address"};

// Rows of kHeadings for the contacts numbered from `first`.
std::vector<Strings> PersonRows(int first, int count) {
  std::vector<Strings> rows;
  for (int i = first; i < first + count; ++i)
    rows.push_back({"Given" + std::to_string(i), "Family" + std::to_string(i), "p" + std::to_string(i) + "@example.com"});
  return rows;
}

class CsvImportTest : public ::testing::Test {
 protected:
  void SetUp() override { UseFolder("cards"); }

  void UseFolder(const std::string& name) {
    cards_ = temp_.path() + "/" + name;
    ASSERT_EQ(LoadCardFolder(cards_, [](int) { return kAnswerNo; }), 1);
  }

  // Imports `bytes`; the table's rows of the folder must be its card files.
  int Import(std::string_view bytes, const CsvImportHooks& hooks = {}) {
    counts_ = {};
    const int result = ImportCsvFile(temp_.Write("import.csv", bytes), hooks, &counts_);
    std::set<std::string> files, paths;
    for (const auto& entry : std::filesystem::directory_iterator(cards_)) files.insert(entry.path().string());
    for (int i = 0; i < contactCount; ++i)
      if (contactTable[static_cast<std::size_t>(i)].filePath.view().starts_with(cards_ + "/"))
        paths.insert(contactTable[static_cast<std::size_t>(i)].filePath.str());
    EXPECT_EQ(paths, files);
    return result;
  }

  TempFolder temp_;
  std::string cards_;
  CsvImportCounts counts_;
};

// Whatever the headings, every row with a value gives a card; the cards already there stay.
TEST_F(CsvImportTest, EveryRowWithAValueGivesACardAndExistingCardsStay) {
  const std::vector<Strings> two = PersonRows(1, 2);
  const struct {
    const char* name;
    std::string bytes;
    int cards;
  } cases[] = {
      {"heading row and empty lines", CsvOf(kHeadings, {}) + "\r\n\r\n", 0},
      {"empty lines between rows",
       QuotedLine(kHeadings) + "\r\n\r\n" + QuotedLine(two[0]) + "\r\n\r\n\n" + QuotedLine(two[1]) + "\r\n\r\n", 2},
      {"unknown headings", CsvOf({"Foo", "Bar"}, {{"Ann", "a@x"}, {"Bob", "b@x"}}), 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    UseFolder(c.name);
    ContactRecord existing;
    existing.formattedName = "Zed";
    ASSERT_EQ(SaveAs(existing, cards_ + "/VC1.vcf"), 1);
    UseFolder(c.name);
    EXPECT_EQ(Import(c.bytes), 1);
    EXPECT_TRUE(counts_.synced);
    EXPECT_EQ(contactCount, c.cards + 1);
    ContactRecord last;
    ASSERT_EQ(ReadCard(last, contactTable[static_cast<std::size_t>(contactCount - 1)].filePath.str()), 1);
    EXPECT_EQ(last.formattedName, "Zed");
    // Each card is its own file in the card folder, under a made-up card name.
    for (int row = 0; row < c.cards; ++row) {
      const std::string name = std::filesystem::path(contactTable[static_cast<std::size_t>(row)].filePath.str()).filename();
      EXPECT_TRUE(std::regex_match(name, std::regex("VC(0|[1-9][0-9]{0,4})\\.vcf")) && std::stoi(name.substr(2)) <= 32767);
    }
  }
  EXPECT_EQ(contactTable[0].displayName, "noname");  // as the card reads back
}

// The list hears of each card as it is added, before any sorting.
TEST_F(CsvImportTest, TheRunStopsWhenTheTableIsFullAndHooksSeeEachCard) {
  ASSERT_EQ(Import(CsvOf(kHeadings, PersonRows(100, 250))), 1);
  Strings seen;
  CsvImportHooks hooks;
  hooks.cardAdded = [&](int row, int saved) {
    seen.push_back(std::to_string(row) + std::to_string(saved) + contactTable[static_cast<std::size_t>(row)].displayName.str());
  };
  EXPECT_EQ(Import(CsvOf(kHeadings, PersonRows(0, 10)), hooks), 0);
  EXPECT_EQ(contactCount, kMaxContacts);
  EXPECT_EQ(counts_.imported, 6);
  EXPECT_EQ(counts_.leftOut, 4);
  ASSERT_EQ(seen.size(), 6u);
  EXPECT_EQ(seen.front() + "|" + seen.back(), "2501Given0 Family0|2551Given5 Family5");
  EXPECT_EQ(currentRow, 255);
  EXPECT_EQ(currentRecord->filePath, contactTable[255].filePath);  // the last card imported
  // The first six rows of the file were imported, the other four not.
  for (int i = 0; i < 10; ++i) EXPECT_EQ(FindRow("Given" + std::to_string(i) + " Family" + std::to_string(i), FIND_BY_NAME) != -1, i < 6);
  EXPECT_NE(FindRow("Given100 Family100", FIND_BY_NAME), -1);

  EXPECT_EQ(Import(CsvOf(kHeadings, PersonRows(1, 1))), 0);
  EXPECT_EQ(counts_.imported, 0);
  EXPECT_EQ(Import(CsvOf(kHeadings, {})), 1);  // a file without data rows never reaches the limit
}

// A contact with every field, some left empty or Chinese by turns.
void FillContact(ContactRecord& r, int i) {
  testing::FillSample(r);
  const std::string n = std::to_string(i);
  r.givenName = i % 4 ? "Given" + n : "小明" + n, r.familyName = i % 4 ? "Family" + n : "王";
  r.orgName = "Org, \"" + n + "\"", r.orgUnit = i % 3 ? "Unit" : "", r.note = i % 2 ? r.note.str() : "";
  r.homePhones[PHONE_PAGER].number = i % 2 ? "pager" : "", r.urls[SLOT_HOME].url = i % 3 ? "" : "http://h.example";
  r.addresses[SLOT_BUSINESS].street = "1 Main\x01\x01Suite " + n, r.formattedName = "Dr. " + n;
}

// The new cards are made durable together at the end; one that is gone by then cannot be.
TEST_F(CsvImportTest, ACardGoneBeforeTheFinalFlushIsReported) {
  CsvImportHooks hooks;
  hooks.cardAdded = [](int row, int) {
    std::filesystem::remove(contactTable[static_cast<std::size_t>(row)].filePath.str());
  };
  ASSERT_EQ(ImportCsvFile(temp_.Write("import.csv", CsvOf(kHeadings, PersonRows(0, 2))), hooks, &counts_), 1);
  EXPECT_EQ(counts_.imported, 2);
  EXPECT_FALSE(counts_.synced);
}

TEST_F(CsvImportTest, ExportedContactsImportBackIntoTheSameFields) {
  ContactRecord record;
  for (int i = 0; i < kMaxContacts; ++i) {
    record.Clear();
    FillContact(record, i);
    std::string path;
    MakeCardFileName(path, cardFolder.str());
    record.filePath = path;
    ASSERT_EQ(SaveNew(record), 1);
  }
  EXPECT_EQ(CsvExportLine(record),
            "\"Given255\",\"Family255\",\"Dr. 255\",\"Org, \"\"255\"\"\",\"\",\"Chemist\",\"1 Main\r\nSuite 255\",\"Springfield\","
            "\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"中国\",\"9\",\"555-0100\",\"555-0101\",\"\",\"\",\"\",\"pager\",\"555-0199\",\"\","
            "\"Line one\r\nLine two; end\",\"ann@acme.example\",\"ann@aol.example\",\"\",\"http://acme.example\",\"http://h.example\"\r\n");

  UseFolder("cards");
  const std::string first = temp_.File("first.csv"), second = temp_.File("second.csv");
  ASSERT_TRUE(ExportCsvFile(first));
  UseFolder("again");
  ASSERT_EQ(ImportCsvFile(first, {}, &counts_), 1);
  EXPECT_EQ(counts_.imported, kMaxContacts);
  ASSERT_TRUE(ExportCsvFile(second));
  EXPECT_EQ(TempFolder::Read(second), TempFolder::Read(first));
  EXPECT_EQ(TempFolder::Read(first).substr(0, 16), "\xEF\xBB\xBF\"First Name\",");
}

}  // namespace
}  // namespace ab
