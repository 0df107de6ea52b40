// Files of several cards, as UTF-8 and cut into their cards.
#include "contacts/CardFileSplit.h"

#include <gtest/gtest.h>

namespace ab {
namespace {

std::string Utf16(std::string_view ascii, bool littleEndian) {
  std::string out;
  for (const char c : ascii) out += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
  return out;
}

TEST(CardFileSplit, CutsTheTextIntoItsCards) {
  const std::string a = "BEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\n";
  const std::string agent = "BEGIN:VCARD\r\nAGENT:\r\nBEGIN:VCARD\r\nFN:X\r\nEND:VCARD\r\nFN:A\r\nEND:VCARD\r\n";
  const std::string folded = "BEGIN:VCARD\r\nNOTE:a\r\n END:VCARD\r\nEND:VCARD\r\n";
  const struct {
    const char* name;
    std::string text;
    std::vector<std::string> cards;
  } cases[] = {
      {"UTF-8 mark", "\xEF\xBB\xBF" + a, {a}},
      {"UTF-16 with its mark, a surrogate pair",
       "\xFF\xFE" + Utf16("BEGIN:VCARD\r\nFN:", true) + std::string("\x3D\xD8\x00\xDE", 4) +
           Utf16("\r\nEND:VCARD\r\n", true),
       {"BEGIN:VCARD\r\nFN:\xF0\x9F\x98\x80\r\nEND:VCARD\r\n"}},
      {"UTF-16 big-endian without a mark", Utf16(a + a, false), {a, a}},
      {"text around, any case, blanks, LF", "hi\nbegin : vcard\nFN:A\nEnd:VCard \nso\nBEGIN:VCARD\nEND:VCARD",
       {"begin : vcard\nFN:A\nEnd:VCard \n", "BEGIN:VCARD\nEND:VCARD"}},
      {"an agent's card stays inside", agent + a, {agent, a}},
      {"a folded line closes nothing; a card without END is left out", folded + "BEGIN:VCARD\r\nFN:B\r\n", {folded}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string text = CardsTextAsUtf8(c.text);
    const std::vector<std::string_view> cards = SplitCards(text);
    EXPECT_EQ(std::vector<std::string>(cards.begin(), cards.end()), c.cards);
  }
}

}  // namespace
}  // namespace ab
