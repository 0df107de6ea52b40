#include "viewer/CardTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "resources/ResourceLibrary.h"
#include "ViewerHarness.h"

namespace ab {
namespace {

// The text of every row, "" for the picture and separator rows.
std::vector<std::string> RowTexts(CardCells& cells, const ContactRecord* record) {
  FillCardCells(cells, record);
  std::vector<std::string> texts;
  for (const LayoutCell& cell : cells.cardCells) texts.emplace_back(cell.text() ? cell.text() : "");
  return texts;
}

TEST(CardTexts, CutCountsCharactersNotBytes) {
  const std::tuple<std::string, std::size_t, std::string> cases[] = {
      {"abc", 10, "abc"}, {"陳大文先生", 2, "陳大"}, {"\xF0\x9F\x98\x80xyz", 2, "\xF0\x9F\x98\x80x"},
      {"\xE9t\xE9", 2, "\xE9t"},  // Latin-1 bytes count one each
      {"\xE6\x96", 1, "\xE6"}, {"\xE6\x96" "A", 1, "\xE6"}};  // a cut-off or broken sequence is not one character
  for (const auto& [text, maxChars, cut] : cases) EXPECT_EQ(CutToCharacters(text, maxChars), cut) << text;
}

// Decoded texts cut to the card's buffers; the preferred e-mail, not the first; home details not at all.
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
  record->homePhones[PHONE_VOICE].number = "+1 555 0000";
  record->addresses[SLOT_HOME].street = "2 Elm St";
  record->urls[SLOT_HOME].url = "http://home.example.com/";
  CardCells cells;
  const std::vector<std::string> captions = {"Address:", "Phone:", "Fax:", "E-Mail:", "Web Page:"};
  std::vector<std::string> expected = {"", "", "Smith;Jones", ""};
  expected.insert(expected.end(), captions.begin(), captions.end());
  expected.insert(expected.end(), {"Unit 2\r\n1 Main St, Springfield, K1A 0B1, USA", "+1 555 0100", std::string(19, '5'),
                                   "ann.smith@example.org", "http://www.example.com/", name.substr(0, 127 * 3),
                                   "Line one\r\nLine two", std::string(63, 'c')});
  EXPECT_EQ(RowTexts(cells, record.get()), expected);
  EXPECT_EQ(cells.pictureCells[0].picture(), record->logoPicture.get());
  EXPECT_EQ(cells.pictureCells[1].picture(), record->photoPicture.get());

  // Only the address parts that are there, each followed by ", ", then the country; at most 371 characters.
  record->preferredEmail = -1;
  const std::tuple<std::string, std::string, std::string, std::string> addresses[] = {
      {"Ottawa", "ON", "", "Ottawa, ON, "}, {"", "", "USA", "USA"}, {"", "", "", ""}, {std::string(500, 's'), "", "", std::string(371, 's')}};
  for (const auto& [street, region, country, line] : addresses) {
    AddressEntry& address = record->addresses[SLOT_BUSINESS];
    address = AddressEntry();
    address.street = street, address.region = region, address.country = country;
    EXPECT_EQ(RowTexts(cells, record.get())[ROW_ADDRESS], line);
    EXPECT_EQ(cells.texts.email, "");
  }

  // Without a record only the captions show.
  std::vector<std::string> empty(kCardRows, "");
  std::copy(captions.begin(), captions.end(), empty.begin() + ROW_ADDRESS_CAPTION);
  EXPECT_EQ(RowTexts(cells, nullptr), empty);
  EXPECT_EQ(cells.pictureCells[0].picture(), nullptr);

  // Captions longer than fifteen characters are cut.
  ASSERT_TRUE(LoadResourceLibrary(QStringLiteral(AB_CAPTIONS_BUNDLE)));
  const std::vector<std::string> cut = RowTexts(cells, nullptr);
  ASSERT_TRUE(LoadResourceLibrary(QStringLiteral(AB_PRODUCT_BUNDLE)));
  EXPECT_EQ(std::vector<std::string>(cut.begin() + ROW_ADDRESS_CAPTION, cut.begin() + ROW_ADDRESS_CAPTION + 3),
            (std::vector<std::string>{"Business addres", "辦公室電話號碼一二三四五六七八", "Fax"}));
}

}  // namespace
}  // namespace ab
