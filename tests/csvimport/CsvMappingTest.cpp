// Column mapping: heading rows, data rows and the fields they fill.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CsvTestSupport.h"
#include "contacts/ContactRecord.h"
#include "contacts/TypeFlags.h"
#include "csvimport/CsvHeadings.h"
#include "csvimport/CsvMapping.h"

namespace ab {
namespace {

using testing::QuotedLine;
using testing::TempFolder;
using Strings = std::vector<std::string>;

Strings TableOf(std::string_view language) {
  const auto table = HeadingTable(language);
  return Strings(table.begin(), table.end());
}

// Reads a file of a heading line and data lines through the mapping.
class MappedFile {
 public:
  explicit MappedFile(const std::string& bytes) : reader_(folder_.Write("map.csv", bytes), nullptr) {
    ReadHeadingRow(reader_, mapping_);
  }

  const CsvColumnMapping& mapping() const { return mapping_; }

  // The next data row that has values.
  bool Next(CsvRow& values) {
    for (std::string* row = &reader_.NextRow(); !row->empty(); row = &reader_.NextRow())
      if (ReadRecordRow(*row, mapping_, values)) return true;
    return false;
  }

  // The next data row as a record, filled as the import fills it.
  void Fill(ContactRecord& record) {
    CsvRow values;
    ASSERT_TRUE(Next(values));
    record.Clear();
    FillRecordFromCsv(record, values, mapping_);
  }

 private:
  TempFolder folder_;
  CsvReader reader_;
  CsvColumnMapping mapping_;
};

std::string FileOf(const Strings& headings, const std::vector<Strings>& rows) {
  std::string bytes = QuotedLine(headings) + "\r\n";
  for (const Strings& row : rows) bytes += QuotedLine(row) + "\r\n";
  return bytes;
}

// One record from one data row under the given headings.
void RecordOf(const Strings& headings, const Strings& values, ContactRecord& record) {
  MappedFile file(FileOf(headings, {values}));
  file.Fill(record);
}

TEST(CsvHeadingRow, FullTablesMapEveryColumnToItsPosition) {
  for (std::string_view language : {kLanguageEnglish, kLanguageChinese}) {
    SCOPED_TRACE(std::string(language));
    const Strings headings = TableOf(language);
    MappedFile file(FileOf(headings, {}));
    EXPECT_EQ(file.mapping().csvLanguage, language);
    EXPECT_EQ(file.mapping().headingRow, headings);
    for (std::size_t k = 0; k < static_cast<std::size_t>(kMaxCsvColumns); ++k)
      EXPECT_EQ(file.mapping().columnMap[k], k < headings.size() ? static_cast<int>(k) : -1) << k;
  }
}

TEST(CsvHeadingRow, MatchingStopsAtTheFirstUnknownHeading) {
  struct Case {
    const char* name;
    Strings headings;
    std::vector<int> map;  // the first entries of columnMap; the rest must be -1
  };
  const Case cases[] = {
      {"unknown in the middle", {"First Name", "Nickname", "Last Name"}, {1, -1, -1}},
      {"any order of known headings", {"Web Page", "Last Name", "Title"}, {86, 3, 0}},
      {"letter case", {"Last Name", "first name", "Title"}, {3, -1, -1}},
      {"trailing space", {"Title", "Last Name "}, {0, -1}},
      {"English heading in a Chinese file", {"名字", "Last Name"}, {1, -1}},
      {"unknown language maps nothing", {"Nickname", "First Name"}, {-1, -1}},
      {"the R-spelling maps to the shortened entry", {"Referred By", "Web Page"}, {79, 86}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MappedFile file(FileOf(c.headings, {}));
    for (std::size_t k = 0; k < static_cast<std::size_t>(kMaxCsvColumns); ++k)
      EXPECT_EQ(file.mapping().columnMap[k], k < c.map.size() ? c.map[k] : -1) << k;
  }
}

TEST(CsvHeadingRow, EndOfFieldsMarkerEndsTheHeadings) {
  MappedFile file(FileOf({"Title", "!@#", "Last Name"}, {}));
  EXPECT_EQ(file.mapping().headingRow, Strings{"Title"});
  EXPECT_EQ(file.mapping().columnMap[0], 0);
  EXPECT_EQ(file.mapping().columnMap[1], -1);
}

TEST(CsvHeadingRow, FirstRowWithoutValuesGivesNoHeadings) {
  for (const char* bytes : {"", "\n\"Title\"\n", "unquoted\n"}) {
    MappedFile file(bytes);
    EXPECT_TRUE(file.mapping().headingRow.empty()) << bytes;
    EXPECT_EQ(file.mapping().csvLanguage, kLanguageUnknown) << bytes;
  }
}

TEST(CsvHeadingRow, MoreThanNinetyColumnsAreIgnored) {
  Strings headings = TableOf(kLanguageChinese);
  headings.push_back("額外");
  MappedFile file(FileOf(headings, {}));
  EXPECT_EQ(file.mapping().headingRow.size(), 90u);
}

TEST(CsvRecordRow, ValuesArePaddedCutAndEndedByTheMarker) {
  const std::string tooLong = std::string(126, 'a') + "é";  // cutting at 127 bytes would split the é
  MappedFile file(FileOf({"Title", "First Name", "Last Name", "Suffix"},
                         {{"Dr"}, {"A", "!@#", "C", "D"}, {tooLong, std::string(200, 'b')}}));
  CsvRow values;
  ASSERT_TRUE(file.Next(values));
  EXPECT_EQ(values, (CsvRow{"Dr", "", "", ""}));
  ASSERT_TRUE(file.Next(values));
  EXPECT_EQ(values, (CsvRow{"A", "", "", ""}));  // the marker and later values count as missing
  ASSERT_TRUE(file.Next(values));
  ASSERT_EQ(values.size(), 4u);
  EXPECT_EQ(values[0], std::string(126, 'a'));
  EXPECT_EQ(values[1], std::string(127, 'b'));
  EXPECT_FALSE(file.Next(values));
}

TEST(CsvRecordRow, RowsWithoutValuesAreNoRecords) {
  const CsvColumnMapping mapping;
  CsvRow values;
  for (const char* text : {"\n", "", "unquoted\n", "x,\"y\"\n", "\"!@#\",\"a\"\n"}) {
    std::string row = text;
    EXPECT_FALSE(ReadRecordRow(row, mapping, values)) << text;
  }
  std::string row = QuotedLine(Strings(95, "v"));
  ASSERT_TRUE(ReadRecordRow(row, mapping, values));
  EXPECT_EQ(values.size(), 90u);  // room for 90 columns, the rest is ignored
}

// A field of the record, read back for the checks.
using FieldGetter = std::function<std::string(const ContactRecord&)>;

struct FieldCase {
  const char* english;
  const char* chinese;
  FieldGetter field;
};

const std::vector<FieldCase>& FieldCases() {
  static const std::vector<FieldCase> cases = {
      {"Department", "部門", [](const ContactRecord& r) { return r.orgUnit.str(); }},
      {"Job Title", "職稱", [](const ContactRecord& r) { return r.title.str(); }},
      {"Business Street", "商務 - 街", [](const ContactRecord& r) { return r.addresses[0].street.str(); }},
      {"Business City", "商務 - 市/鎮", [](const ContactRecord& r) { return r.addresses[0].locality.str(); }},
      {"Business State", "商務 - 縣/市", [](const ContactRecord& r) { return r.addresses[0].region.str(); }},
      {"Business Postal Code", "商務 - 郵遞區號", [](const ContactRecord& r) { return r.addresses[0].postalCode.str(); }},
      {"Business Country", "商務 - 國家", [](const ContactRecord& r) { return r.addresses[0].country.str(); }},
      {"Home Street", "住家 - 街", [](const ContactRecord& r) { return r.addresses[1].street.str(); }},
      {"Home City", "住家 - 市/鎮", [](const ContactRecord& r) { return r.addresses[1].locality.str(); }},
      {"Home State", "住家 - 縣/市", [](const ContactRecord& r) { return r.addresses[1].region.str(); }},
      {"Home Postal Code", "住家 - 郵遞區號", [](const ContactRecord& r) { return r.addresses[1].postalCode.str(); }},
      {"Home Country", "住家 - 國家", [](const ContactRecord& r) { return r.addresses[1].country.str(); }},
      {"Business Phone", "商務電話", [](const ContactRecord& r) { return r.workPhones[0].number.str(); }},
      {"Business Fax", "商務傳真", [](const ContactRecord& r) { return r.workPhones[1].number.str(); }},
      {"Car Phone", "汽車電話", [](const ContactRecord& r) { return r.workPhones[3].number.str(); }},
      {"Home Phone", "住家電話", [](const ContactRecord& r) { return r.homePhones[0].number.str(); }},
      {"Home Fax", "住家傳真", [](const ContactRecord& r) { return r.homePhones[1].number.str(); }},
      {"Pager", "呼叫器", [](const ContactRecord& r) { return r.homePhones[2].number.str(); }},
      {"Mobile Phone", "行動電話", [](const ContactRecord& r) { return r.homePhones[3].number.str(); }},
      {"TTY/TDD Phone", "TTY/TDD 電話", [](const ContactRecord& r) { return r.homePhones[4].number.str(); }},
      {"Web Page", "Web 網頁", [](const ContactRecord& r) { return r.urls[0].url.str(); }},
      {"Web Page", "Web 網頁", [](const ContactRecord& r) { return r.urls[1].url.str(); }},
      {"Last Name", "姓氏", [](const ContactRecord& r) { return r.familyName.str(); }},
      {"E-mail Address", "電子郵件地址", [](const ContactRecord& r) { return r.emails[0].address.str(); }},
      {"E-mail 2 Address", "電子郵件 2 地址", [](const ContactRecord& r) { return r.emails[1].address.str(); }},
      {"E-mail 3 Address", "電子郵件 3 地址", [](const ContactRecord& r) { return r.emails[2].address.str(); }},
  };
  return cases;
}

// The full table of a language as headings, with `value` under `heading`
// and a distinct filler under every other column.
void FullRow(std::string_view language, const std::string& heading, const std::string& value, ContactRecord& record) {
  const Strings headings = TableOf(language);
  Strings values;
  for (const std::string& h : headings) values.push_back(h == heading ? value : "");
  RecordOf(headings, values, record);
}

TEST(CsvFields, EachHeadingFillsItsFieldInBothEditions) {
  ContactRecord record;
  int serial = 0;
  for (const FieldCase& c : FieldCases()) {
    for (const auto& [language, heading] :
         {std::pair{kLanguageEnglish, c.english}, std::pair{kLanguageChinese, c.chinese}}) {
      SCOPED_TRACE(heading);
      const std::string value = "v" + std::to_string(++serial);
      FullRow(language, heading, value, record);
      EXPECT_EQ(c.field(record), value);
      // And no other field of the table took the value.
      for (const FieldCase& other : FieldCases())
        if (other.english != std::string_view(c.english)) {
          EXPECT_EQ(other.field(record), "") << other.english;
        }
    }
  }
}

TEST(CsvFields, HeadingsWithoutAFieldAreDropped) {
  ContactRecord record;
  const Strings dropped = {"Company", "Business Street 2", "Business Street 3", "Home Street 2", "Other Street",
                           "Other City", "Notes", "Assistant's Phone", "Business Phone 2", "Home Phone 2",
                           "E-mail Display Name", "Birthday", "PO Box", "Primary Phone"};
  const Strings headings = TableOf(kLanguageEnglish);
  Strings row(headings.size());
  for (std::size_t i = 0; i < headings.size(); ++i)
    for (const std::string& d : dropped)
      if (headings[i] == d) row[i] = "x " + d;
  RecordOf(headings, row, record);
  EXPECT_EQ(record.orgName, "");
  EXPECT_EQ(record.note, "");
  EXPECT_EQ(record.addresses[0].extendedAddress, "");
  EXPECT_EQ(record.addresses[0].poBox, "");
  EXPECT_EQ(record.addresses[0].street, "");
  for (const auto& phone : record.workPhones) EXPECT_EQ(phone.number, "");
  for (const auto& phone : record.homePhones) EXPECT_EQ(phone.number, "");
  EXPECT_EQ(record.emailCount, 0);
  EXPECT_EQ(record.formattedName, "");
}

TEST(CsvFields, SlotFlagsAreSetForEveryRecord) {
  // Even with every value empty, and even when the language is unknown.
  for (const Strings& headings : {TableOf(kLanguageEnglish), Strings{"Nickname"}}) {
    ContactRecord record;
    RecordOf(headings, Strings{"x"}, record);
    EXPECT_EQ(record.addresses[0].flags, FLAG_WORK);
    EXPECT_EQ(record.addresses[1].flags, FLAG_HOME);
    EXPECT_EQ(record.workPhones[0].flags, 5u);
    EXPECT_EQ(record.workPhones[1].flags, 9u);
    EXPECT_EQ(record.workPhones[2].flags, 0u);
    EXPECT_EQ(record.workPhones[3].flags, 33u);
    EXPECT_EQ(record.homePhones[0].flags, 6u);
    EXPECT_EQ(record.homePhones[1].flags, 10u);
    EXPECT_EQ(record.homePhones[2].flags, 18u);
    EXPECT_EQ(record.homePhones[3].flags, 34u);
    EXPECT_EQ(record.homePhones[4].flags, 130u);
    EXPECT_EQ(record.homePhones[5].flags, 0u);
    EXPECT_EQ(record.urls[0].flags, FLAG_WORK);
    EXPECT_EQ(record.urls[1].flags, FLAG_HOME);
    EXPECT_EQ(record.emailCount, 0);
    EXPECT_EQ(record.preferredEmail, -1);
  }
}

TEST(CsvFields, NamePartsAreJoinedWithNothingBetween) {
  struct Case {
    Strings parts;  // Title, First, Middle, Last, Suffix
    const char* formatted;
    const char* given;
    const char* additional;
    const char* family;
  };
  const Case cases[] = {
      {{"", "John", "", "Smith", ""}, "JohnSmith", "John", "JohnSmith", "Smith"},
      {{"Dr. ", "Jane", "Q. ", "Doe", " Jr."}, "Dr. JaneQ. Doe Jr.", "JaneQ. ", "JaneQ. Doe Jr.", "Doe"},
      {{"Mr", "", "", "", "III"}, "MrIII", "", "III", ""},
      {{"", "", "", "", ""}, "", "", "", ""},
  };
  const Strings headings = {"Title", "First Name", "Middle Name", "Last Name", "Suffix"};
  for (const Case& c : cases) {
    ContactRecord record;
    RecordOf(headings, c.parts, record);
    EXPECT_EQ(record.formattedName, c.formatted);
    EXPECT_EQ(record.givenName, c.given);
    EXPECT_EQ(record.additionalNames, c.additional);
    EXPECT_EQ(record.familyName, c.family);
  }
}

TEST(CsvFields, JoinedNamesAreCutAtTheirFieldCapacity) {
  ContactRecord record;
  const std::string part(100, 'n');
  RecordOf({"Title", "First Name", "Middle Name", "Last Name", "Suffix"}, {part, part, part, part, part}, record);
  EXPECT_EQ(record.formattedName.size(), 256u);
  EXPECT_EQ(record.givenName.size(), 127u);
  EXPECT_EQ(record.additionalNames.size(), 127u);
  EXPECT_EQ(record.familyName.size(), 100u);
}

TEST(CsvFields, EmailSlotsFollowTheirColumns) {
  struct Case {
    Strings addresses;  // E-mail, E-mail 2, E-mail 3
    int count;
    int preferred;
  };
  const Case cases[] = {
      {{"a@x", "", ""}, 1, 0},
      {{"a@x", "b@x", "c@x"}, 3, 0},
      {{"", "b@x", ""}, 2, -1},
      {{"", "b@x", "c@x"}, 3, -1},
      {{"", "", "c@x"}, 3, -1},
      {{"a@x", "", "c@x"}, 3, 0},
      {{"", "", ""}, 0, -1},
  };
  const Strings headings = {"E-mail Address", "E-mail 2 Address", "E-mail 3 Address"};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.addresses));
    ContactRecord record;
    RecordOf(headings, c.addresses, record);
    EXPECT_EQ(record.emailCount, c.count);
    EXPECT_EQ(record.preferredEmail, c.preferred);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(record.emails[i].address, c.addresses[i]);
      EXPECT_EQ(record.emails[i].type, EMAIL_TYPE_INTERNET);
    }
    EXPECT_EQ(record.emails[0].flags, c.preferred == 0 ? FLAG_PREF : 0u);
    EXPECT_EQ(record.emails[1].flags, 0u);
  }
}

TEST(CsvFields, ValuesGoInAsTheyStand) {
  // Not in the stored form: a semicolon and a line break stay as they are.
  MappedFile file("\"First Name\",\"Home Street\"\r\n\"A;B\",\"Line 1\r\nLine 2\",\"\"\r\n");
  ContactRecord record;
  file.Fill(record);
  EXPECT_EQ(record.givenName, "A;B");
  EXPECT_EQ(record.addresses[1].street, "Line 1\nLine 2");
}

TEST(CsvFields, MissingColumnsOfShortRowsAreEmpty) {
  ContactRecord record;
  RecordOf({"First Name", "Last Name", "E-mail Address", "Web Page"}, {"Ann"}, record);
  EXPECT_EQ(record.givenName, "Ann");
  EXPECT_EQ(record.familyName, "");
  EXPECT_EQ(record.emailCount, 0);
  EXPECT_EQ(record.urls[0].url, "");
}

TEST(CsvFields, ChineseEditionValuesGoToTheSameFields) {
  ContactRecord record;
  RecordOf({"頭銜", "名字", "姓氏", "電子郵件地址", "Web 網頁"}, {"博士", "小明", "王", "ming@example.tw", "http://w.tw"},
           record);
  EXPECT_EQ(record.formattedName, "博士小明王");
  EXPECT_EQ(record.givenName, "小明");
  EXPECT_EQ(record.familyName, "王");
  EXPECT_EQ(record.emails[0].address, "ming@example.tw");
  EXPECT_EQ(record.preferredEmail, 0);
  EXPECT_EQ(record.urls[1].url, "http://w.tw");
}

}  // namespace
}  // namespace ab
