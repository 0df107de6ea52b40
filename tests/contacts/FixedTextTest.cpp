#include "contacts/FixedText.h"

#include <gtest/gtest.h>

namespace ab {
namespace {

struct CutCase {
  const char* name;
  std::string text;
  std::size_t maxUnits;
  std::size_t expectedBytes;
};

// An ASCII byte and a marker pair are one unit, any other character two.
const CutCase kCuts[] = {
    {"fits", "abc", 5, 3}, {"ascii", "abcdef", 4, 4}, {"2-byte character", "ab\xC3\xA9" "c", 3, 2},
    {"3-byte character", "a\xE4\xB8\xAD" "b", 3, 4}, {"3-byte character not split", "a\xE4\xB8\xAD" "b", 2, 1},
    {"4-byte character", "\xF0\x9F\x98\x80" "x", 2, 4}, {"marker pairs", "a\x02\x02" "b\x01\x01" "c", 4, 6},
    {"marker pair not split", "a\x02\x02" "b", 1, 1}, {"lone marker", "\x01" "ab", 2, 2},
    {"legacy byte", "M\xFCnchen", 3, 2}, {"truncated sequence: bytes of their own", "ab\xE4\xB8", 4, 3},
};

TEST(FixedTextTest, CutsByUnitsBetweenCharacters) {
  for (const CutCase& c : kCuts) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CutToUnits(c.text, c.maxUnits), c.expectedBytes);
    EXPECT_LE(CountUnits(c.text.substr(0, c.expectedBytes)), c.maxUnits);
  }
}

// Cutting a value that is too long is checked where cards are read; here only a text that takes part
// of itself, which must not read what the copy has overwritten.
TEST(FixedTextTest, AssigningItsOwnTextIsSafe) {
  FixedText<16> text("hello world");
  text = text.view().substr(6);
  EXPECT_EQ(text.view(), "world");
}

}  // namespace
}  // namespace ab
