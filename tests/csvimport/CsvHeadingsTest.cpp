// The built-in heading tables and telling a file's language.

#include <gtest/gtest.h>

#include <set>
#include <string>

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
  EXPECT_EQ(programStringCount, 177u);
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
      {"Referred By", kLanguageEnglish},
      {"title", kLanguageUnknown},  // case matters
      {"Title ", kLanguageUnknown},  // no trimming
      {" Title", kLanguageUnknown},
      {"Nickname", kLanguageUnknown},
      {"", kLanguageUnknown},
      {"!@#", kLanguageUnknown},
  };
  for (const Case& c : cases) EXPECT_EQ(DetectCsvLanguage(c.heading), c.language) << c.heading;
}

TEST(CsvLanguage, ReferredByMatchesTheShortenedEntryOnly) {
  EXPECT_TRUE(HeadingMatches("eferred By", "eferred By"));
  EXPECT_TRUE(HeadingMatches("eferred By", "Referred By"));
  EXPECT_FALSE(HeadingMatches("eferred By", "referred By"));
  EXPECT_FALSE(HeadingMatches("Title", "Referred By"));
  EXPECT_FALSE(HeadingMatches("Title", "TITLE"));
}

TEST(CsvLanguage, ChineseHeadingRowNeedsANonAsciiChineseHeading) {
  EXPECT_TRUE(IsChineseHeadingRow("\"名字\",\"姓氏\"\n"));
  EXPECT_TRUE(IsChineseHeadingRow("\"ISDN\",\"商務電話\"\n"));
  EXPECT_FALSE(IsChineseHeadingRow("\"ISDN\",\"Telix\"\n"));
  EXPECT_FALSE(IsChineseHeadingRow("\"Title\",\"First Name\"\n"));
  EXPECT_FALSE(IsChineseHeadingRow("\"名字 \"\n"));
  EXPECT_FALSE(IsChineseHeadingRow(""));
}

}  // namespace
}  // namespace ab
