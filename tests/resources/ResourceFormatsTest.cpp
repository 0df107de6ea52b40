#include "resources/ResourceFormats.h"

#include <QString>

#include <gtest/gtest.h>

namespace ab {
namespace {

TEST(ResourceFormats, StringTableReadsIdsAndEscapesAndRejectsTheMalformed) {
  const auto table = ParseStringTable("# comment\n\n6\tA\tB\n42\tx\\ny\\tz \\\\ \xC3\xBC\r\n65535\t\n8\tlast");
  ASSERT_TRUE(table.has_value());
  EXPECT_EQ(*table, (StringTable{{6, "A\tB"}, {8, "last"}, {42, "x\ny\tz \\ \xC3\xBC"}, {65535, ""}}));
  for (const char* source : {"6 no tab\n", "six\tx\n", "65536\tx\n", "6\tC:\\path\n", "6\tx\\\n", "6\tone\n6\ttwo\n"})
    EXPECT_FALSE(ParseStringTable(source).has_value()) << source;
}


// The structure of what is read shows in the library's menus; here: what is refused, and the nesting limit.
TEST(ResourceFormats, MenusNestEightPopupsDeepAndRejectTheMalformed) {
  auto nested = [](int popups) {
    std::string entry = R"({"id": 1, "text": "leaf"})";
    for (int i = 0; i < popups; ++i) entry = R"({"text": "p", "items": [)" + entry + "]}";
    return R"({"comment": "ignored", "items": [)" + entry + "]}";
  };
  EXPECT_TRUE(ParseMenu(QByteArrayView(nested(8))).has_value());
  for (const std::string entries : {"{\"id\": 100}", "{\"text\": \"&N\"}", "{\"id\": 100.5, \"text\": \"&N\"}",
                                    "{\"id\": 1, \"text\": \"&N\", \"checked\": 1}", "{\"separator\": false}", "100"})
    EXPECT_FALSE(ParseMenu(QByteArrayView("{\"items\": [" + entries + "]}")).has_value()) << entries;
  for (const char* json : {"items: []", "[]", "{\"items\": {}}"})
    EXPECT_FALSE(ParseMenu(QByteArrayView(json)).has_value()) << json;
  EXPECT_FALSE(ParseMenu(QByteArrayView(nested(9))).has_value());
}

}  // namespace
}  // namespace ab
