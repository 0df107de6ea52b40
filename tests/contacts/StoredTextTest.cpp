#include "contacts/StoredText.h"

#include <gtest/gtest.h>

#include <string>

namespace ab {
namespace {

TEST(StoredTextTest, LineBreaksAndSemicolonsTakeMarkerPairs) {
  const struct {
    const char* name;
    std::string plain;
    std::string stored;
  } encoded[] = {
      {"unchanged", "plain text", "plain text"}, {"line break at the end", "a\r\n", "a\x01\x01"},
      {"lone CR kept", "a\rb;", "a\rb\x02\x02"}, {"lone LF kept", "a\nb", "a\nb"},
      {"CR at the end", "a;\r", "a\x02\x02\r"}, {"both", ";\r\n;", "\x02\x02\x01\x01\x02\x02"},
  }, decoded[] = {
      // Without a marker byte a tab is left alone; with one it becomes a space.
      {"tab without marker", "a\tb", "a\tb"},
      {"tab with marker", "a b\r\n", "a\tb\x01\x01"},
      {"lone marker kept", "a\x01" "b", "a\x01" "b"}, {"lone marker at the end", "a\r\n\x02", "a\x01\x01\x02"},
      {"three markers", "\r\n\x01", "\x01\x01\x01"},
  };
  for (const auto& c : encoded) EXPECT_EQ(EncodeStoredText(c.plain), c.stored) << c.name;
  for (const auto& c : decoded) EXPECT_EQ(DecodeStoredText(c.stored), c.plain) << c.name;
  const std::string plain = "Line one; more\r\nLine two;\r\n";
  EXPECT_EQ(DecodeStoredText(EncodeStoredText(plain)), plain);
}

TEST(StoredTextTest, BlankAndCharPosition) {
  EXPECT_TRUE(IsBlank(static_cast<const char*>(nullptr)) && IsBlank("") && !IsBlank(" "));
  EXPECT_EQ(std::to_string(CharPosition("xyz", 'z')) + std::to_string(CharPosition("xyz", 'x')) +
                std::to_string(CharPosition("xyz", 'q')), "31-1");
}

}  // namespace
}  // namespace ab
