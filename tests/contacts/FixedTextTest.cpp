#include "contacts/FixedText.h"

#include <gtest/gtest.h>

namespace ab {
namespace {

struct CutCase {
  const char* name;
  std::string text;
  std::size_t maxBytes;
  std::size_t expected;
};

void PrintTo(const CutCase& c, std::ostream* out) { *out << c.name; }


class Utf8CutTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(Utf8CutTest, CutsAtCharacterBoundary) {
  const CutCase& c = GetParam();
  EXPECT_EQ(Utf8SafeCut(c.text, c.maxBytes), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8CutTest,
    ::testing::Values(CutCase{"fits", "abc", 5, 3}, CutCase{"exact", "abcde", 5, 5},
                      CutCase{"ascii", "abcdef", 4, 4},
                      // "é" is two bytes: cutting after its first byte would split it.
                      CutCase{"twoByte", "ab\xC3\xA9", 3, 2},
                      // "中" is three bytes.
                      CutCase{"threeByte", "a\xE4\xB8\xAD" "b", 3, 1},
                      CutCase{"threeByteFits", "a\xE4\xB8\xAD" "b", 4, 4},
                      CutCase{"fourByte", "\xF0\x9F\x98\x80" "x", 3, 0},
                      // Legacy 8-bit text is not UTF-8: it is cut byte-exactly.
                      CutCase{"latin1", "M\xFCnchen", 2, 2}, CutCase{"loneContinuation", "\x80\x80\x80", 2, 2},
                      CutCase{"truncatedLead", "ab\xE4\xB8", 3, 3}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(FixedTextTest, StoresAtMostCapacityMinusOneBytes) {
  FixedText<5> text;
  EXPECT_TRUE(text.empty());
  text = "abcdefgh";
  EXPECT_EQ(text.view(), "abcd");
  text = "\xE4\xB8\xAD\xE6\x96\x87";  // two Chinese characters, six bytes
  EXPECT_EQ(text.view(), "\xE4\xB8\xAD");
  text.Clear();
  EXPECT_EQ(text.size(), 0u);
}

TEST(FixedTextTest, AssigningItsOwnTextIsSafe) {
  FixedText<16> text("hello world");
  text = text.view().substr(6);
  EXPECT_EQ(text.view(), "world");
}

}  // namespace
}  // namespace ab
