// The built-in heading tables and telling a file's language.

#include <gtest/gtest.h>

#include <string>

#include "csvimport/CsvColumns.h"
#include "csvimport/CsvHeadings.h"
#include "csvimport/ProgramStrings.h"

namespace ab {
namespace {

TEST(CsvLanguage, AnyHeadingOfATableTellsTheLanguage) {
  const std::pair<const char*, std::string_view> cases[] = {
      {"Web Page", kLanguageEnglish}, {"E-mail 3 Display Name", kLanguageEnglish}, {"類別", kLanguageChinese},
      {"Telix", kLanguageChinese},
      {"ISDN", kLanguageChinese},      // in both tables; the Chinese one is asked first
      {" tItle\t", kLanguageEnglish},  // letter case and blanks around do not count
      {"Ti tle", kLanguageUnknown},    {"Nickname", kLanguageUnknown}, {"", kLanguageUnknown},
  };
  for (const auto& [heading, language] : cases) EXPECT_EQ(DetectCsvLanguage(heading), language) << heading;
  // No table for an unknown language, no text for an ID past the tables.
  EXPECT_TRUE(HeadingTable(kLanguageUnknown).empty());
  EXPECT_TRUE(LoadProgramString(5090).empty());
}

TEST(CsvColumns, HeadingsOfEveryEditionAndAliasLeadToTheirColumn) {
  const std::pair<const char*, int> cases[] = {
      {"  e-MAIL 2 address ", COL_EMAIL_2}, {"Business Country/Region", COL_BUSINESS_COUNTRY}, {"Referred By", 5179},
      {"商務 - 國家/地區", COL_BUSINESS_COUNTRY}, {"Primary Email", COL_EMAIL_1}, {"Given Name", COL_FIRST_NAME},
      {"Display Name", COL_DISPLAY_NAME}, {"Custom 1", COL_NONE}, {"子女", COL_NONE},
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
  const std::pair<const char*, bool> cases[] = {
      {"\"名字\",\"姓氏\"\n", true},       {"\"ISDN\",\"商務電話\"\n", true},       {"\"ISDN\",\"Telix\"\n", false},
      {"\"Title\",\"First Name\"\n", false}, {"\"名字 \"\t\"Foo\"\n", true}, {"", false}};
  for (const auto& [line, chinese] : cases) EXPECT_EQ(IsChineseHeadingRow(line), chinese) << line;
}

}  // namespace
}  // namespace ab
