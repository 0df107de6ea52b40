// Column mapping: heading rows, data rows and the fields they fill.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/CsvTestSupport.h"
#include "contacts/ContactRecord.h"
#include "contacts/TypeFlags.h"
#include "csvimport/CsvExtraProperties.h"
#include "csvimport/CsvHeadings.h"
#include "csvimport/CsvMapping.h"

namespace ab {
namespace {

using testing::CsvOf;
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
    while (reader_.NextRow(values))
      if (ReadRecordRow(values, mapping_)) return true;
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

// One record from one data row under the given headings.
void RecordOf(const Strings& headings, const Strings& values, ContactRecord& record) {
  MappedFile file(CsvOf(headings, {values}));
  file.Fill(record);
}

TEST(CsvHeadingRow, FullTablesTellTheirLanguageAndColumns) {
  for (std::string_view language : {kLanguageEnglish, kLanguageChinese}) {
    SCOPED_TRACE(std::string(language));
    const Strings headings = TableOf(language);
    MappedFile file(CsvOf(headings, {}));
    EXPECT_EQ(file.mapping().csvLanguage, language);
    EXPECT_EQ(file.mapping().headingRow, headings);
    // Up to "Telex" both editions list the columns in the same order.
    for (std::size_t k = 0; k < 48; ++k) EXPECT_EQ(file.mapping().meanings[k].column, kFirstColumnId + static_cast<int>(k));
  }
}

TEST(CsvHeadingRow, UnknownHeadingsSkipOnlyTheirOwnColumn) {
  struct Case {
    const char* name;
    Strings headings;
    std::vector<int> columns;
  };
  const Case cases[] = {
      {"unknown in the middle", {"First Name", "Custom 1", "Last Name"}, {COL_FIRST_NAME, COL_NONE, COL_LAST_NAME}},
      {"letter case and blanks", {" last name", "FIRST NAME "}, {COL_LAST_NAME, COL_FIRST_NAME}},
      {"both editions in one file", {"名字", "Last Name"}, {COL_FIRST_NAME, COL_LAST_NAME}},
      {"unknown first heading", {"Foo", "Notes"}, {COL_NONE, COL_NOTES}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MappedFile file(CsvOf(c.headings, {}));
    std::vector<int> columns;
    for (const CsvHeadingMeaning& meaning : file.mapping().meanings) columns.push_back(meaning.column);
    EXPECT_EQ(columns, c.columns);
  }
}

TEST(CsvHeadingRow, LanguageIsThatOfTheFirstHeadingInATable) {
  EXPECT_EQ(MappedFile(CsvOf({"Display Name", "Nickname", "名字", "Title"}, {})).mapping().csvLanguage, kLanguageChinese);
  EXPECT_EQ(MappedFile(CsvOf({"Foo", "last name"}, {})).mapping().csvLanguage, kLanguageEnglish);
  EXPECT_EQ(MappedFile(CsvOf({"Foo"}, {})).mapping().csvLanguage, kLanguageUnknown);
}

TEST(CsvHeadingRow, FirstRecordWithAValueHoldsTheHeadings) {
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

  for (const CsvRow& blank : {CsvRow{""}, CsvRow{" ", "\t", ""}}) {
    CsvRow row = blank;
    EXPECT_FALSE(ReadRecordRow(row, file.mapping()));
  }
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
      {"Company", "公司", [](const ContactRecord& r) { return r.orgName.str(); }},
      {"Notes", "記事", [](const ContactRecord& r) { return r.note.str(); }},
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

TEST(CsvFields, SlotFlagsAreSetForEveryRecord) {
  // Even with every value empty, and even when the language is unknown.
  for (const Strings& headings : {TableOf(kLanguageEnglish), Strings{"Foo"}}) {
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

TEST(CsvFields, NamesAreJoinedAsTheirScriptWritesThem) {
  struct Case {
    Strings values;  // Title, First, Middle, Last, Suffix, Display Name, Company, E-mail
    const char* formatted;
    const char* given;
    const char* additional;
  };
  const Case cases[] = {
      {{"", "John", "", "Smith"}, "John Smith", "John", "John Smith"},
      {{"Dr.", " Alice ", "B.", "Example", "Jr."}, "Dr. Alice B. Example Jr.", "Alice B.", "Alice B. Example Jr."},
      {{"", "小明", "", "王"}, "王小明", "小明", "王小明"},
      {{"", "John", "", "Smith", "", "Johnny S."}, "Johnny S.", "John", "John Smith"},
      {{"", "", "", "", "", "", "ACME", "a@x"}, "ACME", "", ""},
      {{"", "", "", "", "", "", " ", "a@x"}, "a@x", "", ""},
  };
  const Strings headings = {"Title", "First Name", "Middle Name", "Last Name", "Suffix", "Display Name", "Company", "E-mail"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.formatted);
    ContactRecord record;
    Strings values = c.values;
    values.resize(headings.size());
    RecordOf(headings, values, record);
    EXPECT_EQ(record.formattedName, c.formatted);
    EXPECT_EQ(record.givenName, c.given);
    EXPECT_EQ(record.additionalNames, c.additional);
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

TEST(CsvFields, ValuesGoInInTheStoredForm) {
  // Semicolons and line breaks of either kind take the stored form the card
  // will hold, so the table's row shows what the card reads back.
  MappedFile file("\"First Name\",\"Home Street\"\r\n\"A;B\",\"Line 1\r\nLine 2\rLine 3\",\"\"\r\n");
  ContactRecord record;
  file.Fill(record);
  EXPECT_EQ(record.givenName, "A\x02\x02" "B");
  EXPECT_EQ(record.addresses[1].street, "Line 1\x01\x01Line 2\x01\x01Line 3");
}

TEST(CsvExtraProperties, DatesCategoriesAndNicknameBecomeCardLines) {
  struct Case {
    Strings headings;
    Strings values;
    Strings lines;
  };
  const Case cases[] = {
      {{"Birthday", "Anniversary", "Categories", "Nickname"},
       {"1/31/1980", "6.5.2001", "VIP;Golf, Friends", " Bob "},
       {"BDAY:1980-01-31", "X-ANNIVERSARY:2001-05-06", "CATEGORIES:VIP,Golf,Friends", "NICKNAME:Bob"}},
      {{"Birthday", "Group Membership", "Nickname"},
       {"0.0.00", "* myContacts ::: Family", "a;b"},
       {"CATEGORIES:Family", "NICKNAME:a\x02\x02" "b"}},
      {{"Birth Year", "Birth Month", "Birth Day", "Birthday"}, {"1975", "12", "3", ""}, {"BDAY:1975-12-03"}},
      {{"Birthday", "Anniversary"}, {"sometime", "1/0/00"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.values[0]);
    MappedFile file(CsvOf(c.headings, {c.values}));
    CsvRow values;
    ASSERT_TRUE(file.Next(values));
    EXPECT_EQ(CsvExtraProperties(values, file.mapping()), c.lines);
  }
}

TEST(CsvExtraProperties, DatesOfTheExportsBecomeIsoDates) {
  const std::pair<const char*, const char*> cases[] = {
      {"1980-01-31", "1980-01-31"}, {"31/01/1980", "1980-01-31"}, {"1/2/80", "1980-01-02"},
      {"2.1.05", "2005-01-02"},     {"1980-1-31 00:00:00", "1980-01-31"}, {"0.0.00", ""},
      {"March 3, 1980", ""},        {"13/13/2000", ""},            {"", ""},
  };
  for (const auto& [text, iso] : cases) EXPECT_EQ(CsvDateAsIso(text).value_or(""), iso) << text;
}

}  // namespace
}  // namespace ab
