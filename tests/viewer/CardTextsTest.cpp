#include "viewer/CardTexts.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>

#include "resources/ResourceLibrary.h"
#include "ViewerHarness.h"

namespace ab {
namespace {

TEST(CardTexts, AddressLineJoinsThePartsThatAreThere) {
  const std::array<std::string, 6> cases[] = {
      // street, locality, region, postal code, country: the line
      {"1 Main St", "Springfield", "", "K1A 0B1", "USA", "1 Main St, Springfield, K1A 0B1, USA"},
      {"", "Ottawa", "ON", "", "", "Ottawa, ON, "},
      {"", "", "", "", "USA", "USA"},
      {"", "", "", "", "", ""},
  };
  for (const auto& c : cases) {
    AddressEntry address;
    address.street = c[0], address.locality = c[1], address.region = c[2], address.postalCode = c[3], address.country = c[4];
    EXPECT_EQ(WorkAddressLine(address), c[5]);
  }
}

TEST(CardTexts, CutCountsCharactersNotBytes) {
  const std::tuple<std::string, std::size_t, std::string> cases[] = {
      {"abcdef", 3, "abc"}, {"abc", 10, "abc"}, {"陳大文先生", 2, "陳大"},
      {"\xF0\x9F\x98\x80xyz", 2, "\xF0\x9F\x98\x80x"},
      {"\xE9t\xE9", 2, "\xE9t"},  // Latin-1 bytes count one each
      {"\xE6\x96", 1, "\xE6"}, {"\xE6\x96" "A", 1, "\xE6"},  // a cut-off or broken sequence is not one character
  };
  for (const auto& [text, maxChars, cut] : cases) EXPECT_EQ(CutToCharacters(text, maxChars), cut) << text;
}

TEST(CardTexts, CellsShowTheDecodedTextsCutToTheCardsBuffers) {
  auto record = testing::SampleRecord({.logo = true, .photo = true});
  record->orgName = "Smith\x02\x02Jones";  // a stored semicolon
  record->title = "Line one\x01\x01Line two";
  record->addresses[SLOT_BUSINESS].street = "Unit 2\x01\x01" "1 Main St";
  record->orgUnit = std::string(100, 'c');
  record->workPhones[PHONE_FAX].number = std::string(39, '5');
  std::string name;
  for (int i = 0; i < 140; ++i) name += "陳";
  record->formattedName = name;  // the record holds 128 of them
  CardCells cells;
  FillCardCells(cells, record.get());
  const auto text = [&cells](int row) { return std::string(cells.cardCells[static_cast<std::size_t>(row)].text()); };
  EXPECT_EQ(text(ROW_COMPANY), "Smith;Jones");
  EXPECT_EQ(text(ROW_TITLE), "Line one\r\nLine two");
  EXPECT_EQ(text(ROW_ADDRESS), "Unit 2\r\n1 Main St, Springfield, K1A 0B1, USA");
  EXPECT_EQ(text(ROW_PHONE), "+1 555 0100");
  EXPECT_EQ(text(ROW_EMAIL), "ann.smith@example.org");  // the preferred one, not the first
  EXPECT_EQ(text(ROW_WEB_PAGE), "http://www.example.com/");
  EXPECT_EQ(text(ROW_DEPARTMENT), std::string(63, 'c'));
  EXPECT_EQ(text(ROW_FAX), std::string(19, '5'));
  EXPECT_EQ(text(ROW_NAME), name.substr(0, 127 * 3));
  EXPECT_EQ(text(ROW_WEB_CAPTION), "Web Page:");
  EXPECT_EQ(cells.pictureCells[0].picture(), record->logoPicture.get());
  EXPECT_EQ(cells.pictureCells[1].picture(), record->photoPicture.get());

  record->preferredEmail = -1;
  record->addresses[SLOT_BUSINESS].street = std::string(500, 's');
  FillCardCells(cells, record.get());
  EXPECT_EQ(text(ROW_EMAIL), "");
  EXPECT_EQ(text(ROW_ADDRESS).size(), 371u);

  // Without a record only the captions show.
  FillCardCells(cells, nullptr);
  EXPECT_EQ(text(ROW_NAME), "");
  EXPECT_EQ(text(ROW_PHONE_CAPTION), "Phone:");
  EXPECT_EQ(cells.pictureCells[0].picture(), nullptr);
}

TEST(CardTexts, CaptionsLongerThanFifteenCharactersAreCut) {
  ASSERT_TRUE(LoadResourceLibrary(QStringLiteral(AB_CAPTIONS_BUNDLE)));
  CardCells cells;
  FillCardCells(cells, nullptr);
  ASSERT_TRUE(LoadResourceLibrary(QStringLiteral(AB_PRODUCT_BUNDLE)));
  EXPECT_STREQ(cells.cardCells[ROW_ADDRESS_CAPTION].text(), "Business addres");
  EXPECT_STREQ(cells.cardCells[ROW_PHONE_CAPTION].text(), "辦公室電話號碼一二三四五六七八");
  EXPECT_STREQ(cells.cardCells[ROW_FAX_CAPTION].text(), "Fax");
}

}  // namespace
}  // namespace ab
