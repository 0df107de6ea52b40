// The import run over a real card folder: cards written, table rows, the
// table limit, and what the saved cards hold when read back.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/CsvTestSupport.h"
#include "contacts/CardStore.h"
#include "contacts/StoredText.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "csvimport/CsvExport.h"
#include "csvimport/CsvHeadings.h"
#include "csvimport/CsvImport.h"

namespace ab {
namespace {

using testing::CsvOf;
using testing::Encode;
using testing::QuotedLine;
using testing::TempFolder;
using Strings = std::vector<std::string>;

const Strings kHeadings = {"Title",         "First Name",     "Last Name",       "Job Title",
                           "Business Street", "Business City", "Home Street",     "Business Phone",
                           "Home Phone",    "Mobile Phone",   "E-mail Address",  "E-mail 2 Address",
                           "Notes",         "Web Page"};

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
  EXPECT_EQ(contactTable[0].displayName, "Given1 Family1");
  EXPECT_EQ(contactTable[1].displayName, "Given2 Family2");
  EXPECT_EQ(contactTable[2].displayName, "Given3 Family3");
  EXPECT_EQ(contactTable[0].email, "p1@example.com");
  EXPECT_EQ(contactTable[0].workPhone, "555-1");

  // Each card is its own file in the card folder, under a made-up card name.
  EXPECT_EQ(TablePaths(), CardFiles());
  for (const std::string& path : TablePaths()) EXPECT_TRUE(IsCardName(path, cards_)) << path;
  EXPECT_EQ(currentRecord->filePath, contactTable[static_cast<std::size_t>(FindRow("Given2 Family2", FIND_BY_NAME))].filePath);
}

TEST_F(CsvImportTest, SavedCardsReadBackWithTheirFields) {
  const Strings row = {"Dr ",  "Anna",  "Berg",     "Chief; of staff", "Main St 1\r\nFloor 2", "Oslo",
                       "Home Road 5", "+47 1", "+47 2",  "+47 3",           "anna@example.no",      "a2@example.no",
                       "a note", "http://anna.example.no"};
  ASSERT_EQ(ImportCsvFile(WriteCsv(CsvOf(kHeadings, {row}))), 1);
  ASSERT_EQ(contactCount, 1);

  ContactRecord card;
  ASSERT_EQ(ReadCard(card, contactTable[0].filePath.str()), 1);
  EXPECT_EQ(card.formattedName, "Dr Anna Berg");
  EXPECT_EQ(card.givenName, "Anna");
  EXPECT_EQ(card.familyName, "Berg");
  EXPECT_EQ(card.additionalNames, "Anna Berg");
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
  EXPECT_EQ(card.note, "a note");
  EXPECT_EQ(contactTable[0].displayName, "Dr Anna Berg");
}

TEST_F(CsvImportTest, TableFillingUpStopsTheRunWithResultZero) {
  FillTableWithExisting(250);
  std::vector<Strings> rows;
  for (int i = 0; i < 10; ++i) rows.push_back(PersonRow(i));
  CsvImportCounts counts;
  EXPECT_EQ(ImportCsvFile(WriteCsv(CsvOf(kHeadings, rows)), {}, &counts), 0);
  EXPECT_EQ(contactCount, kMaxContacts);
  EXPECT_EQ(CardFiles().size(), 6u);
  EXPECT_EQ(counts.imported, 6);
  EXPECT_EQ(counts.leftOut, 4);
  // The first six rows of the file were imported, the other four not.
  for (int i = 0; i < 10; ++i) {
    const std::string name = "Given" + std::to_string(i) + " Family" + std::to_string(i);
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
      {"only blank records", "\r\n,,\r\n \r\n"},
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
  EXPECT_EQ(ImportCsvFile(WriteCsv(CsvOf({"Foo", "Bar"}, {{"Ann", "a@x"}, {"Bob", "b@x"}}))), 1);
  ASSERT_EQ(contactCount, 2);
  EXPECT_EQ(CardFiles().size(), 2u);
  EXPECT_EQ(contactTable[0].displayName, "noname");  // as the card reads back
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
  EXPECT_EQ(added[0].name, "Given9 Family9");
  EXPECT_EQ(added[0].countAtCall, 1);
  EXPECT_EQ(added[1].row, 1);
  EXPECT_EQ(added[1].name, "Given5 Family5");
  EXPECT_EQ(contactTable[0].displayName, "Given9 Family9");  // not sorted by the run itself
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

// The mail program's export: its 92 columns as its current English edition names them.
const Strings kExport92 = {
    "Title", "First Name", "Middle Name", "Last Name", "Suffix", "Company", "Department", "Job Title",
    "Business Street", "Business Street 2", "Business Street 3", "Business City", "Business State",
    "Business Postal Code", "Business Country/Region", "Home Street", "Home Street 2", "Home Street 3", "Home City",
    "Home State", "Home Postal Code", "Home Country/Region", "Other Street", "Other Street 2", "Other Street 3",
    "Other City", "Other State", "Other Postal Code", "Other Country/Region", "Assistant's Phone", "Business Fax",
    "Business Phone", "Business Phone 2", "Callback", "Car Phone", "Company Main Phone", "Home Fax", "Home Phone",
    "Home Phone 2", "ISDN", "Mobile Phone", "Other Fax", "Other Phone", "Pager", "Primary Phone", "Radio Phone",
    "TTY/TDD Phone", "Telex", "Account", "Anniversary", "Assistant's Name", "Billing Information", "Birthday",
    "Business Address PO Box", "Categories", "Children", "Directory Server", "E-mail Address", "E-mail Type",
    "E-mail Display Name", "E-mail 2 Address", "E-mail 2 Type", "E-mail 2 Display Name", "E-mail 3 Address",
    "E-mail 3 Type", "E-mail 3 Display Name", "Gender", "Government ID Number", "Hobby", "Home Address PO Box",
    "Initials", "Internet Free Busy", "Keywords", "Language", "Location", "Manager's Name", "Mileage", "Notes",
    "Office Location", "Organizational ID Number", "Other Address PO Box", "Priority", "Private", "Profession",
    "Referred By", "Sensitivity", "Spouse", "User 1", "User 2", "User 3", "User 4", "Web Page"};

// A row under `headings` with the given values, every other column empty.
Strings RowOf(const Strings& headings, const std::vector<std::pair<std::string, std::string>>& values) {
  Strings row(headings.size());
  for (const auto& [heading, value] : values)
    row[static_cast<std::size_t>(std::find(headings.begin(), headings.end(), heading) - headings.begin())] = value;
  return row;
}

const Strings kJohn = RowOf(kExport92, {{"First Name", "John"}, {"Last Name", "Smith"}, {"Company", "ACME, Inc."},
    {"Business Street", "1 Main St"}, {"Business Street 2", "Suite 5"}, {"E-mail Address", "john@acme.example"},
    {"E-mail Display Name", "John (john@acme.example)"}, {"E-mail 2 Address", "js@home.example"},
    {"Business Phone", "+1 555 0100"}, {"Home Phone", "+1 555 0101"}, {"Mobile Phone", "+1 555 0102"},
    {"Notes", "Met at \"\"Café Expo\"\",\r\nLine two"}, {"Business Country/Region", "USA"}, {"Birthday", "1/31/1980"}});
const Strings kMing = RowOf(kExport92, {{"First Name", "小明"}, {"Last Name", "王"}, {"Company", "台灣公司"},
    {"E-mail Address", "ming@example.tw"}, {"Mobile Phone", "0912-345678"}, {"Notes", "朋友"}});
const Strings kAlice = RowOf(kExport92, {{"Title", "Dr."}, {"First Name", "Alice"}, {"Middle Name", "B."},
    {"Last Name", "Example"}, {"Suffix", "Jr."}, {"E-mail 3 Address", "alice@example.org"}});

// What the tests check of an imported card.
struct Expected {
  std::string name;
  std::string company;
  Strings emails;
  std::string businessPhone, homePhone, mobile, note, businessStreet;
};
const Expected kJohnCard{"John Smith", "ACME, Inc.", {"john@acme.example", "js@home.example"}, "+1 555 0100",
                         "+1 555 0101", "+1 555 0102", "Met at \"Café Expo\",\r\nLine two", "1 Main St\r\nSuite 5"};
const Expected kMingCard{"王小明", "台灣公司", {"ming@example.tw"}, "", "", "0912-345678", "朋友", ""};
const Expected kAliceCard{"Dr. Alice B. Example Jr.", "", {"", "", "alice@example.org"}, "", "", "", "", ""};

// Lines of unquoted values between `separator`s.
std::string Separated(const std::vector<Strings>& lines, char separator) {
  std::string bytes;
  for (const Strings& line : lines) {
    for (std::size_t i = 0; i < line.size(); ++i) bytes += (i ? std::string(1, separator) : "") + line[i];
    bytes += "\r\n";
  }
  return bytes;
}

TEST_F(CsvImportTest, EveryExporterStyleGivesItsContacts) {
  const std::string english = CsvOf(kExport92, {kJohn, kMing, kAlice});
  // The Traditional Chinese edition, its countries named as current versions name them.
  Strings chinese(HeadingTable(kLanguageChinese).begin(), HeadingTable(kLanguageChinese).end());
  for (std::string& heading : chinese)
    if (heading.ends_with(" - 國家")) heading += "/地區";
  const std::string big5 = CsvOf(chinese, {RowOf(chinese, {{"名字", "小明"}, {"姓氏", "王"}, {"公司", "台灣公司"},
      {"電子郵件地址", "ming@example.tw"}, {"行動電話", "0912-345678"}, {"記事", "朋友"}})});
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<Expected> cards;
  };
  const Case cases[] = {
      {"92 columns, UTF-8", "\xEF\xBB\xBF" + english, {kJohnCard, kMingCard, kAliceCard}},
      {"92 columns, cp1252", Encode(CsvOf(kExport92, {kJohn, kAlice}), "WINDOWS-1252"), {kJohnCard, kAliceCard}},
      {"92 columns, UTF-16", "\xFF\xFE" + Encode(english, "UTF-16LE"), {kJohnCard, kMingCard, kAliceCard}},
      {"92 columns, tab-separated", Separated({kExport92, kMing, kAlice}, '\t'), {kMingCard, kAliceCard}},
      {"Traditional Chinese edition, Big5", Encode(big5, "CP950"), {kMingCard}},
      {"desktop mail client",
       "First Name,Last Name,Display Name,Primary Email,Secondary Email,Work Phone,Mobile Number,Organization,Notes\n"
       "John,Smith,,john@acme.example,js@home.example,+1 555 0100,,\"ACME, Inc.\",\n"
       "Jane,Roe,Jane R.,,,,555 7,,\"a, b\"\n",
       {{"John Smith", "ACME, Inc.", {"john@acme.example", "js@home.example"}, "+1 555 0100", "", "", "", ""},
        {"Jane R.", "", {}, "", "", "555 7", "a, b", ""}}},
      {"web mail",
       "Name,Given Name,Family Name,E-mail 1 - Type,E-mail 1 - Value,Phone 1 - Type,Phone 1 - Value,"
       "Phone 2 - Type,Phone 2 - Value,Organization 1 - Name,Address 1 - Type,Address 1 - Street,Notes\n"
       "Ann Lee,Ann,Lee,* Home,ann@x.example,Mobile,555 9,Work,555 8,Lee Ltd,Work,\"Dock 1\nGate 2\",\"multi\nline\"\n"
       ",Bo,,,,* Home,555 7,Home,555 6,,,,\n",  // of two home phones the first counts
       {{"Ann Lee", "Lee Ltd", {"ann@x.example"}, "555 8", "", "555 9", "multi\r\nline", "Dock 1\r\nGate 2"},
        {"Bo", "", {}, "", "555 7", "", "", ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(LoadCardFolder(temp_.path() + "/" + c.name, [](int) { return kAnswerNo; }), 1);
    CsvImportCounts counts;
    ASSERT_EQ(ImportCsvFile(WriteCsv(c.bytes), {}, &counts), 1);
    EXPECT_EQ(counts.imported, static_cast<int>(c.cards.size()));
    for (const Expected& e : c.cards) {
      SCOPED_TRACE(e.name);
      const int row = FindRow(e.name, FIND_BY_NAME);
      ASSERT_NE(row, -1);
      ContactRecord card;
      ASSERT_EQ(ReadCard(card, contactTable[static_cast<std::size_t>(row)].filePath.str()), 1);
      EXPECT_EQ(card.orgName, e.company);
      Strings emails;
      for (int i = 0; i < card.emailCount; ++i) emails.push_back(card.emails[static_cast<std::size_t>(i)].address.str());
      EXPECT_EQ(emails, e.emails);
      EXPECT_EQ(card.workPhones[PHONE_VOICE].number, e.businessPhone);
      EXPECT_EQ(card.homePhones[PHONE_VOICE].number, e.homePhone);
      EXPECT_EQ(card.homePhones[PHONE_CELL].number, e.mobile);
      EXPECT_EQ(DecodeStoredText(card.note), e.note);
      EXPECT_EQ(DecodeStoredText(card.addresses[SLOT_BUSINESS].street), e.businessStreet);
      // The birthday has no field: it is kept with the card.
      const bool born = std::find(card.extraProperties.begin(), card.extraProperties.end(), "BDAY:1980-01-31") !=
                        card.extraProperties.end();
      EXPECT_EQ(born, e.name == "John Smith" && std::string(c.name).starts_with("92"));
    }
  }
}

// A contact with every field the export carries, some left empty by turns.
void FillContact(ContactRecord& r, int i) {
  const std::string n = std::to_string(i);
  r.givenName = i % 4 ? "Given" + n : "小明" + n;
  r.familyName = i % 4 ? "Family" + n : "王";
  r.additionalNames = "not carried";
  r.formattedName = i % 4 ? "Dr. Given" + n + " Family" + n : "王小明" + n;
  r.orgName = "Org, \"" + n + "\"";
  r.orgUnit = i % 3 ? "Unit" : "";
  r.title = "Chief";
  r.note = i % 2 ? "Line one\x01\x01line\x02\x02 two" : "";
  r.addresses[SLOT_BUSINESS].street = "1 Main\x01\x01Suite " + n;
  r.addresses[SLOT_BUSINESS].poBox = "PB " + n;
  r.addresses[SLOT_HOME].locality = "Town";
  r.addresses[SLOT_HOME].country = "Land";
  r.workPhones[PHONE_FAX].number = "fax " + n;
  r.homePhones[PHONE_PAGER].number = i % 2 ? "pager" : "";
  r.homePhones[PHONE_VIDEO].number = "video";
  r.emails[1].address = "e" + n + "@x.example";
  r.emailCount = 2;
  r.urls[SLOT_BUSINESS].url = "http://w.example/" + n;
  r.urls[SLOT_HOME].url = i % 3 ? "" : "http://h.example";
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
  record.Clear();
  FillContact(record, 3);
  EXPECT_EQ(CsvExportLine(record),
            "\"Given3\",\"Family3\",\"Dr. Given3 Family3\",\"Org, \"\"3\"\"\",\"\",\"Chief\",\"1 Main\r\nSuite 3\","
            "\"\",\"\",\"\",\"\",\"PB 3\",\"\",\"Town\",\"\",\"\",\"Land\",\"\",\"\",\"fax 3\",\"\",\"\",\"\",\"pager\",\"\","
            "\"video\",\"Line one\r\nline; two\",\"\",\"e3@x.example\",\"\",\"http://w.example/3\",\"http://h.example\"\r\n");

  ASSERT_EQ(LoadCardFolder(cards_, [](int) { return kAnswerNo; }), 1);
  const std::string first = temp_.File("first.csv");
  ASSERT_TRUE(ExportCsvFile(first));
  ASSERT_EQ(LoadCardFolder(temp_.path() + "/again", [](int) { return kAnswerNo; }), 1);
  CsvImportCounts counts;
  ASSERT_EQ(ImportCsvFile(first, {}, &counts), 1);
  EXPECT_EQ(counts.imported, kMaxContacts);
  const std::string second = temp_.File("second.csv");
  ASSERT_TRUE(ExportCsvFile(second));
  EXPECT_EQ(TempFolder::Read(second), TempFolder::Read(first));
  EXPECT_EQ(TempFolder::Read(first).substr(0, 16), "\xEF\xBB\xBF\"First Name\",");
}

}  // namespace
}  // namespace ab
