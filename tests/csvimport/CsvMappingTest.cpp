// Column mapping: the built-in heading tables, heading rows, data rows and the fields they fill.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "csvimport/CsvColumns.h"
#include "csvimport/CsvExtraProperties.h"
#include "csvimport/CsvHeadings.h"
#include "csvimport/CsvMapping.h"
#include "support/CardBuilders.h"
#include "support/CsvTestSupport.h"

namespace ab {
namespace {

using testing::CsvOf;
using Strings = std::vector<std::string>;

// Reads a file of a heading line and data lines through the mapping.
class MappedFile {
 public:
  explicit MappedFile(const std::string& bytes) : reader_(folder_.Write("map.csv", bytes), nullptr) {
    ReadHeadingRow(reader_, mapping_);
  }

  const CsvColumnMapping& mapping() const { return mapping_; }

  std::vector<int> Columns() const {
    std::vector<int> columns;
    for (const CsvHeadingMeaning& meaning : mapping_.meanings) columns.push_back(meaning.column);
    return columns;
  }

  // The next data row that has values.
  bool Next(CsvRow& values) {
    while (reader_.NextRow(values))
      if (ReadRecordRow(values, mapping_)) return true;
    return false;
  }

 private:
  testing::TempFolder folder_;
  CsvReader reader_;
  CsvColumnMapping mapping_;
};

// The record one data row under `headings` fills, filled as the import fills it.
void RecordOf(const Strings& headings, const Strings& values, ContactRecord& record) {
  MappedFile file(CsvOf(headings, {values}));
  CsvRow row;
  ASSERT_TRUE(file.Next(row));
  FillRecordFromCsv(record, row, file.mapping());
}

std::string ShownOf(const Strings& headings, const Strings& values) {
  ContactRecord record;
  RecordOf(headings, values, record);
  return testing::Shown(record);
}

TEST(CsvHeadingRow, UnknownHeadingsSkipOnlyTheirOwnColumn) {
  const struct {
    Strings headings;
    std::vector<int> columns;
    std::string_view language;
  } cases[] = {
      {{"First Name", "Custom 1", "Last Name"}, {COL_FIRST_NAME, COL_NONE, COL_LAST_NAME}, kLanguageEnglish},
      // Letter case and blanks around do not count; other editions' spellings and the web mail's names count.
      {{" last name", "  e-MAIL 2 address ", "Business Country/Region", "Referred By", "商務 - 國家/地區", "Primary Email",
        "Given Name", "子女", "Telix", "Internet 空閒-忙碌"},
       // Up to the Chinese "Telix" the editions list their columns in the same order, after it not.
       {COL_LAST_NAME, COL_EMAIL_2, COL_BUSINESS_COUNTRY, 5179, COL_BUSINESS_COUNTRY, COL_EMAIL_1, COL_FIRST_NAME, COL_NONE,
        COL_TITLE + 47, COL_NONE},
       kLanguageEnglish},
      // The language is that of the first heading in a table.
      {{"Foo", "名字", "Last Name"}, {COL_NONE, COL_FIRST_NAME, COL_LAST_NAME}, kLanguageChinese},
      {{"Display Name", "Foo"}, {COL_DISPLAY_NAME, COL_NONE}, kLanguageUnknown},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.headings));
    MappedFile file(CsvOf(c.headings, {}));
    EXPECT_EQ(file.Columns(), c.columns);
    EXPECT_EQ(file.mapping().csvLanguage, c.language);
  }
  // The first record with a value holds the headings.
  for (const char* bytes : {"", "\n\n", ",,\n \n"}) EXPECT_TRUE(MappedFile(bytes).mapping().headingRow.empty()) << bytes;
  EXPECT_EQ(MappedFile("\r\n\"Title\"\r\n").mapping().headingRow, Strings{"Title"});
}

TEST(CsvRecordRow, ValuesArePaddedCutAndKeptUnderTheirHeadings) {
  const std::string tooLong = std::string(126, 'a') + "é";  // cutting at 127 units would split the é
  MappedFile file(CsvOf({"Title", "First Name", "Last Name"},
                        {{"Dr"}, {"A", "!@#", "C", "beyond the headings"}, {tooLong, std::string(200, 'b')}}));
  CsvRow values;
  ASSERT_TRUE(file.Next(values));
  EXPECT_EQ(values, (CsvRow{"Dr", "", ""}));
  ASSERT_TRUE(file.Next(values));
  EXPECT_EQ(values, (CsvRow{"A", "!@#", "C"}));
  ASSERT_TRUE(file.Next(values));
  EXPECT_EQ(values, (CsvRow{std::string(126, 'a'), std::string(127, 'b'), ""}));
  EXPECT_FALSE(file.Next(values));
  for (CsvRow blank : {CsvRow{""}, CsvRow{" ", "\t", ""}}) EXPECT_FALSE(ReadRecordRow(blank, file.mapping()));
}

// Every heading that fills a field, with the heading as its value.
TEST(CsvFields, EachHeadingFillsItsField) {
  const Strings headings = {"Company", "Department", "Job Title", "Notes", "Last Name", "Business Street", "Business City",
      "Business State", "Business Postal Code", "Business Country/Region", "Home Street", "Home City", "Home State",
      "Home Postal Code", "Home Country/Region", "Business Phone", "Business Fax", "Car Phone", "Home Phone", "Home Fax",
      "Pager", "Mobile Phone", "TTY/TDD Phone", "Web Page", "E-mail 2 Address", "E-mail 3 Address"};
  EXPECT_EQ(ShownOf(headings, headings),
            "fn=Last Name\nn=Last Name//Last Name\norg=Company/Department\ntitle=Job Title\nnote=Notes\nemail=\n"
            "email=E-mail 2 Address\nemail=E-mail 3 Address\nwork.voice=Business Phone WORK VOICE\n"
            "home.voice=Home Phone HOME VOICE\nwork.fax=Business Fax WORK FAX\nhome.fax=Home Fax HOME FAX\n"
            "home.pager=Pager HOME PAGER\nwork.cell=Car Phone WORK CELL\nhome.cell=Mobile Phone HOME CELL\n"
            "home.video=TTY/TDD Phone HOME VIDEO\n"
            // The postal code has room for 19 characters.
            "work.adr=//Business Street/Business City/Business State/Business Postal Cod/Business Country/Region WORK\n"
            "home.adr=//Home Street/Home City/Home State/Home Postal Code/Home Country/Region HOME\n"
            "work.url=Web Page WORK\nhome.url=Web Page HOME\n");
}

TEST(CsvFields, RowsFillTheRecord) {
  const Strings names = {"Title", "First Name", "Middle Name", "Last Name", "Suffix", "Display Name", "Company", "E-mail"};
  const Strings emails = {"E-mail Address", "E-mail 2 Address", "E-mail 3 Address"};
  const struct {
    const Strings& headings;
    Strings values;
    const char* shown;
  } cases[] = {
      // Names are joined as their script writes them.
      {names, {"", "小明", "", "Wang"}, "fn=Wang小明\nn=Wang/小明/Wang小明\n"},  // either name alone makes it Chinese
      {names, {"", "Ming", "", "王"}, "fn=王Ming\nn=王/Ming/王Ming\n"},
      {names, {"", "John", "", "Smith", "", "Johnny S."}, "fn=Johnny S.\nn=Smith/John/John Smith\n"},
      {names, {"", "", "", "", "", "", "ACME", "a@x"}, "fn=ACME\norg=ACME/\nemail=a@x PREF *\n"},
      {names, {"", "", "", "", "", "", " ", "a@x"}, "fn=a@x\norg= /\nemail=a@x PREF *\n"},
      // E-mail slots follow their columns; only the first is preferred.
      {emails, {"", "b@x", "c@x"}, "fn=b@x\nemail=\nemail=b@x\nemail=c@x\n"},
      // The second and third street lines go on lines of their own.
      {{"Business Street", "Business Street 2", "Home Street", "Home Street 3"}, {"1 Main", "Suite 2", "9 Elm", "Flat 3"},
       "work.adr=//1 Main\\nSuite 2//// WORK\nhome.adr=//9 Elm\\nFlat 3//// HOME\n"},
      // Semicolons and line breaks of either kind take the stored form the card will hold.
      {{"First Name", "Home Street"}, {"A;B", "Line 1\r\nLine 2\rLine 3"},
       "fn=A\\;B\nn=/A\\;B/A\\;B\nhome.adr=//Line 1\\nLine 2\\nLine 3//// HOME\n"},
      // A card holds no NUL and no byte of the reader's own markers: the row must not either.
      {{"First Name", "Last Name"}, {"\x03" "Al", std::string("B\0o", 3)}, "fn=Al Bo\nn=Bo/Al/Al Bo\n"},
      // A typed group's type column may come first; each value takes the type of its own group.
      {{"Phone 1 - Type", "Phone 1 - Value", "Phone 2 - Value", "Phone 2 - Type"}, {"Mobile", "555", "556", "Work"},
       "work.voice=556 WORK VOICE\nhome.cell=555 HOME CELL\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    Strings values = c.values;
    values.resize(c.headings.size());
    EXPECT_EQ(ShownOf(c.headings, values), c.shown);
  }
}

TEST(CsvFields, JoinedNamesAreCutAtTheirFieldCapacity) {
  ContactRecord r;
  const std::string part(100, 'n');
  RecordOf({"Title", "First Name", "Middle Name", "Last Name", "Suffix"}, {part, part, part, part, part}, r);
  EXPECT_EQ(std::vector<std::size_t>({r.formattedName.size(), r.givenName.size(), r.additionalNames.size(), r.familyName.size()}),
            (std::vector<std::size_t>{256, 127, 127, 100}));
}

TEST(CsvExtraProperties, DatesCategoriesAndNicknameBecomeCardLines) {
  const struct {
    Strings headings;
    Strings values;
    Strings lines;
  } cases[] = {
      {{"Birthday", "Anniversary", "Categories", "Nickname"},
       {"1/31/1980", "6.5.2001", "VIP;Golf, Friends", " Bob "},
       {"BDAY:1980-01-31", "X-ANNIVERSARY:2001-05-06", "CATEGORIES:VIP,Golf,Friends", "NICKNAME:Bob"}},
      {{"Birthday", "Group Membership", "Nickname"},
       {"0.0.00", "* myContacts ::: Family", "a;b"},
       {"CATEGORIES:Family", "NICKNAME:a\x02\x02" "b"}},
      {{"Birth Year", "Birth Month", "Birth Day", "Birthday"}, {"1975", "12", "3", ""}, {"BDAY:1975-12-03"}},
      {{"Birthday", "Anniversary"}, {"sometime", "1/0/00"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.values[0]);
    MappedFile file(CsvOf(c.headings, {c.values}));
    CsvRow values;
    ASSERT_TRUE(file.Next(values));
    EXPECT_EQ(CsvExtraProperties(values, file.mapping()), c.lines);
  }
  const std::pair<const char*, const char*> dates[] = {{"31/01/1980", "1980-01-31"}, {"1/2/80", "1980-01-02"},
      {"1980-1-31 00:00:00", "1980-01-31"}, {"13/13/2000", ""}};
  for (const auto& [text, iso] : dates) EXPECT_EQ(CsvDateAsIso(text).value_or(""), iso) << text;
}

}  // namespace
}  // namespace ab
