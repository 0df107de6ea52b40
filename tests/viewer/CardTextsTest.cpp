#include "viewer/CardTexts.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/ResourceLibrary.h"
#include "contacts/ContactRecord.h"
#include "ViewerHarness.h"

namespace ab {
namespace {

TEST(CardAddressLine, JoinsThePartsThatAreThere) {
  struct Case {
    const char *street, *locality, *region, *postalCode, *country, *expected;
  } cases[] = {
      {"1 Main St", "Springfield", "", "K1A 0B1", "USA", "1 Main St, Springfield, K1A 0B1, USA"},
      {"1 Main St", "Springfield", "", "K1A 0B1", "", "1 Main St, Springfield, K1A 0B1, "},
      {"", "", "", "", "USA", "USA"},
      {"", "Ottawa", "ON", "", "", "Ottawa, ON, "},
      {"", "", "", "", "", ""},
      // The stored form stays as it is here; the card decodes the whole line.
      {"Suite 5\x01\x01" "1 Main St", "Springfield", "", "", "", "Suite 5\x01\x01" "1 Main St, Springfield, "},
  };
  for (const Case& c : cases) {
    AddressEntry address;
    address.street = c.street;
    address.locality = c.locality;
    address.region = c.region;
    address.postalCode = c.postalCode;
    address.country = c.country;
    EXPECT_EQ(WorkAddressLine(address), c.expected);
  }
}

TEST(CardTextCut, CountsCharactersNotBytes) {
  struct Case {
    std::string text;
    std::size_t maxChars;
    std::string expected;
  } cases[] = {
      {"abcdef", 3, "abc"},
      {"abc", 10, "abc"},
      {"陳大文先生", 2, "陳大"},             // three bytes a character
      {"a\xC3\xA9" "b", 2, "a\xC3\xA9"},     // two bytes
      {"\xF0\x9F\x98\x80xyz", 2, "\xF0\x9F\x98\x80x"},  // four bytes
      {"\xE9t\xE9", 2, "\xE9t"},             // Latin-1 bytes count one each
      {"\xE6\x96", 1, "\xE6"},               // a cut-off sequence is not one character
      {"", 5, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CutToCharacters(c.text, c.maxChars), c.expected) << c.text;
}

TEST(CardCells, FillDecodesEveryTextAndPointsAtThePictures) {
  auto record = testing::SampleRecord({.logo = true, .photo = true});
  record->orgName = "Smith\x02\x02Jones";  // a stored semicolon
  record->title = "Line one\x01\x01Line two";
  record->addresses[SLOT_BUSINESS].street = "Unit 2\x01\x01" "1 Main St";
  CardCells cells;
  FillCardCells(cells, record.get());
  const auto& c = cells.cardCells;
  EXPECT_STREQ(c[ROW_COMPANY].text(), "Smith;Jones");
  EXPECT_STREQ(c[ROW_TITLE].text(), "Line one\r\nLine two");
  EXPECT_STREQ(c[ROW_ADDRESS].text(), "Unit 2\r\n1 Main St, Springfield, K1A 0B1, USA");
  EXPECT_STREQ(c[ROW_PHONE].text(), "+1 555 0100");
  EXPECT_STREQ(c[ROW_FAX].text(), "+1 555 0199");
  EXPECT_STREQ(c[ROW_EMAIL].text(), "ann.smith@example.org");  // the preferred one, not the first
  EXPECT_STREQ(c[ROW_WEB_PAGE].text(), "http://www.example.com/");
  EXPECT_STREQ(c[ROW_NAME].text(), "Ann Smith");
  EXPECT_STREQ(c[ROW_DEPARTMENT].text(), "Research");
  EXPECT_STREQ(c[ROW_ADDRESS_CAPTION].text(), "Address:");
  EXPECT_STREQ(c[ROW_WEB_CAPTION].text(), "Web Page:");
  EXPECT_EQ(cells.pictureCells[0].picture(), record->logoPicture.get());
  EXPECT_EQ(cells.pictureCells[1].picture(), record->photoPicture.get());
}

TEST(CardCells, NoPreferredAddressGivesAnEmptyEmailCell) {
  auto record = testing::SampleRecord();
  record->preferredEmail = -1;
  CardCells cells;
  FillCardCells(cells, record.get());
  EXPECT_STREQ(cells.cardCells[ROW_EMAIL].text(), "");

  // A card without a record shows only its captions.
  FillCardCells(cells, nullptr);
  EXPECT_STREQ(cells.cardCells[ROW_NAME].text(), "");
  EXPECT_STREQ(cells.cardCells[ROW_PHONE_CAPTION].text(), "Phone:");
  EXPECT_EQ(cells.pictureCells[0].picture(), nullptr);
}

TEST(CardCells, LongValuesAreCutToTheCardsBuffers) {
  auto record = testing::SampleRecord();
  record->orgName = std::string(100, 'c');
  record->workPhones[PHONE_VOICE].number = std::string(39, '5');
  std::string longName;
  for (int i = 0; i < 80; ++i) longName += "陳";  // 240 bytes, within the field
  record->formattedName = longName;
  record->addresses[SLOT_BUSINESS].street = std::string(500, 's');
  record->addresses[SLOT_BUSINESS].locality = std::string(60, 'l');
  CardCells cells;
  FillCardCells(cells, record.get());
  EXPECT_EQ(std::string(cells.cardCells[ROW_COMPANY].text()), std::string(63, 'c'));
  EXPECT_EQ(std::string(cells.cardCells[ROW_PHONE].text()), std::string(19, '5'));
  EXPECT_EQ(std::string(cells.cardCells[ROW_NAME].text()), longName);  // 80 characters fit the 127

  record->formattedName = std::string(200, 'n');
  FillCardCells(cells, record.get());
  EXPECT_EQ(std::string(cells.cardCells[ROW_NAME].text()), std::string(127, 'n'));
  EXPECT_EQ(std::string(cells.cardCells[ROW_ADDRESS].text()).size(), 371u);
}

TEST(CardCells, CaptionsLongerThanFifteenCharactersAreCut) {
  ASSERT_TRUE(LoadResourceLibrary(QStringLiteral(AB_CAPTIONS_BUNDLE)));
  CardCells cells;
  FillCardCells(cells, nullptr);
  const std::string address = cells.cardCells[ROW_ADDRESS_CAPTION].text();
  const std::string phone = cells.cardCells[ROW_PHONE_CAPTION].text();
  const std::string fax = cells.cardCells[ROW_FAX_CAPTION].text();
  ASSERT_TRUE(LoadResourceLibrary(QStringLiteral(AB_PRODUCT_BUNDLE)));
  EXPECT_EQ(address, "Business addres");
  EXPECT_EQ(phone, "辦公室電話號碼一二三四五六七八");
  EXPECT_EQ(fax, "Fax");
}

}  // namespace
}  // namespace ab
