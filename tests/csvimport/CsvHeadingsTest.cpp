// The built-in heading tables and telling a file's language.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "csvimport/CsvColumns.h"
#include "csvimport/CsvHeadings.h"
#include "csvimport/ProgramStrings.h"

namespace ab {
namespace {

TEST(CsvHeadingTables, HoldTheTwoEditionsByStringId) {
  const auto english = HeadingTable(kLanguageEnglish);
  const auto chinese = HeadingTable(kLanguageChinese);
  ASSERT_EQ(english.size(), 87u);
  ASSERT_EQ(chinese.size(), 90u);
  EXPECT_TRUE(HeadingTable(kLanguageUnknown).empty());

  // Position = ID - first ID, and every ID of both ranges is present.
  for (int id = 5000; id <= 5089; ++id) EXPECT_EQ(chinese[static_cast<std::size_t>(id - 5000)], LoadProgramString(id));
  for (int id = 5100; id <= 5186; ++id) EXPECT_EQ(english[static_cast<std::size_t>(id - 5100)], LoadProgramString(id));
  EXPECT_EQ(programStringCount, 185u);  // and the program's own columns 5190-5197
  EXPECT_TRUE(LoadProgramString(5090).empty());
  EXPECT_TRUE(LoadProgramString(5187).empty());

  struct Entry {
    int id;
    const char* text;
  };
  const Entry samples[] = {
      {5000, "頭銜"},       {5008, "商務 - 街"},   {5013, "商務 - 郵遞區號"}, {5039, "ISDN"},
      {5046, "TTY/TDD 電話"}, {5047, "Telix"},     {5048, "Internet 空閒-忙碌"}, {5049, "Web 網頁"},
      {5062, "身份証字號"},  {5079, "電子郵件地址"}, {5089, "類別"},          {5100, "Title"},
      {5129, "Assistant's Phone"}, {5146, "TTY/TDD Phone"}, {5147, "Telex"}, {5179, "eferred By"},
      {5186, "Web Page"},
  };
  for (const Entry& e : samples) EXPECT_EQ(LoadProgramString(e.id), e.text) << e.id;

  // No heading is given twice within a table, so positions are unambiguous.
  EXPECT_EQ(std::set<std::string_view>(english.begin(), english.end()).size(), english.size());
  EXPECT_EQ(std::set<std::string_view>(chinese.begin(), chinese.end()).size(), chinese.size());
}

TEST(CsvLanguage, FirstHeadingTellsTheLanguage) {
  struct Case {
    const char* heading;
    std::string_view language;
  };
  const Case cases[] = {
      {"Title", kLanguageEnglish},
      {"Web Page", kLanguageEnglish},  // any heading of a table, not only the first column's
      {"E-mail 3 Display Name", kLanguageEnglish},
      {"頭銜", kLanguageChinese},
      {"類別", kLanguageChinese},
      {"Telix", kLanguageChinese},
      {"ISDN", kLanguageChinese},  // in both tables; the Chinese one is asked first
      {"title", kLanguageEnglish},  // letter case and blanks around do not count
      {" Title\t", kLanguageEnglish},
      {"Ti tle", kLanguageUnknown},
      {"Nickname", kLanguageUnknown},
      {"", kLanguageUnknown},
      {"!@#", kLanguageUnknown},
  };
  for (const Case& c : cases) EXPECT_EQ(DetectCsvLanguage(c.heading), c.language) << c.heading;
}

TEST(CsvColumns, HeadingsOfEveryEditionAndAliasLeadToTheirColumn) {
  const std::pair<const char*, int> cases[] = {
      {"Company", COL_COMPANY},
      {"  e-MAIL 2 address ", COL_EMAIL_2},
      {"Business Country/Region", COL_BUSINESS_COUNTRY},
      {"Referred By", 5179},
      {"名字", COL_FIRST_NAME},
      {"記事", COL_NOTES},  // past "Telix" the Chinese order differs
      {"商務 - 國家/地區", COL_BUSINESS_COUNTRY},
      {"Primary Email", COL_EMAIL_1},
      {"Given Name", COL_FIRST_NAME},
      {"Display Name", COL_DISPLAY_NAME},
      {"Custom 1", COL_NONE},
      {"子女", COL_NONE},
  };
  for (const auto& [heading, column] : cases) EXPECT_EQ(ColumnOfHeading(heading), column) << heading;
  // A misspelt target in the alias table would leave its spelling without a column.
  for (std::size_t i = 0; i < headingAliasCount; ++i)
    EXPECT_NE(ColumnOfHeading(headingAliases[i].spelling), COL_NONE) << headingAliases[i].spelling;
}

TEST(CsvColumns, TypedGroupPartsTakeTheirColumnFromTheRowsType) {
  const auto phone = ParseGroupHeading("Phone 12 - Value");
  ASSERT_TRUE(phone);
  EXPECT_EQ(ColumnOfTypedPart(*phone, "* Mobile ::: Work"), COL_MOBILE_PHONE);
  EXPECT_EQ(ColumnOfTypedPart(*phone, "work fax"), COL_BUSINESS_FAX);
  EXPECT_EQ(ColumnOfTypedPart(*phone, "Other"), COL_NONE);
  EXPECT_EQ(ColumnOfTypedPart(*phone, ""), COL_NONE);
  EXPECT_EQ(ColumnOfTypedPart(*ParseGroupHeading("Address 2 - City"), "Work"), COL_BUSINESS_CITY);
  EXPECT_TRUE(ParseGroupHeading("E-mail 1 - Label")->IsTypePart());
  for (const char* heading : {"Business Street 2", "Web Page", "Phone - Value", "Phone x - Value"})
    EXPECT_FALSE(ParseGroupHeading(heading)) << heading;
}

TEST(CsvLanguage, ChineseHeadingRowNeedsANonAsciiChineseHeading) {
  EXPECT_TRUE(IsChineseHeadingRow("\"名字\",\"姓氏\"\n"));
  EXPECT_TRUE(IsChineseHeadingRow("\"ISDN\",\"商務電話\"\n"));
  EXPECT_FALSE(IsChineseHeadingRow("\"ISDN\",\"Telix\"\n"));
  EXPECT_FALSE(IsChineseHeadingRow("\"Title\",\"First Name\"\n"));
  EXPECT_TRUE(IsChineseHeadingRow("\"名字 \"\t\"Foo\"\n"));
  EXPECT_FALSE(IsChineseHeadingRow(""));
}

}  // namespace
}  // namespace ab
