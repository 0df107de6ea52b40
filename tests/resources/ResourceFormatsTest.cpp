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

// The cut keeps at most capacity - 1 bytes and never splits a UTF-8 character;
// a byte that is not UTF-8 counts as a character of its own.
TEST(ResourceFormats, CutToCapacityKeepsWholeCharacters) {
  const std::string mixed = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80";  // 1, 2, 3 and 4 bytes
  const std::pair<int, std::string> cases[] = {{-5, ""}, {3, "a"}, {4, "a\xC3\xA9"}, {6, "a\xC3\xA9"},
                                               {10, "a\xC3\xA9\xE4\xB8\xAD"}, {11, mixed}};
  for (const auto& [capacity, expected] : cases) EXPECT_EQ(CutToCapacity(mixed, capacity), expected) << capacity;
  EXPECT_EQ(CutToCapacity("ab\x80\x80" "cd", 4), "ab\x80");
  EXPECT_EQ(CutToCapacity("\xF8\x80\x80\x80", 3), "\xF8\x80");  // no lead byte beyond 0xF4
}

std::string Flatten(const std::vector<MenuItemData>& items) {
  std::string flat;
  for (const MenuItemData& item : items) {
    flat += item.kind == MenuItemData::Kind::Separator ? "-" : item.text.toStdString() + "#" + std::to_string(item.id);
    flat += std::string(item.checkable ? "c" : "") + (item.checked ? "x" : "") + (item.grayed ? "g" : "");
    if (item.kind == MenuItemData::Kind::Popup) flat += "(" + Flatten(item.items) + ")";
    flat += " ";
  }
  return flat;
}

TEST(ResourceFormats, MenusReadNestedPopupsAndRejectTheMalformed) {
  const auto items = ParseMenu(R"({"comment": "ignored", "items": [{"text": "&File", "items": [
      {"id": 100, "text": "&New\tCtrl+N"}, {"separator": true},
      {"text": "&Sort", "items": [{"id": 112, "text": "&Name", "checked": true}]},
      {"id": 135, "text": "&CSV", "grayed": true, "checkable": true}]}]})");
  ASSERT_TRUE(items.has_value());
  EXPECT_EQ(Flatten(*items), "&File#0(&New\tCtrl+N#100 - &Sort#0(&Name#112cx ) &CSV#135cg ) ");
  auto nested = [](int popups) {
    std::string entry = R"({"id": 1, "text": "leaf"})";
    for (int i = 0; i < popups; ++i) entry = R"({"text": "p", "items": [)" + entry + "]}";
    return R"({"items": [)" + entry + "]}";
  };
  EXPECT_TRUE(ParseMenu(QByteArrayView(nested(8))).has_value());
  for (const std::string entries : {"{\"id\": 100}", "{\"text\": \"&N\"}", "{\"id\": 100.5, \"text\": \"&N\"}",
                                    "{\"id\": 1, \"text\": \"&N\", \"checked\": 1}", "{\"separator\": false}", "100"})
    EXPECT_FALSE(ParseMenu(QByteArrayView("{\"items\": [" + entries + "]}")).has_value()) << entries;
  for (const char* json : {"items: []", "[]", "{\"items\": {}}"})
    EXPECT_FALSE(ParseMenu(QByteArrayView(json)).has_value()) << json;
  EXPECT_FALSE(ParseMenu(QByteArrayView(nested(9))).has_value());
}

TEST(ResourceFormats, AcceleratorTablesReadSingleKeysAndRejectTheMalformed) {
  const auto table = ParseAcceleratorTable(
      R"({"accelerators": [{"keys": "Ctrl+Shift+M", "command": 126}, {"keys": "F5", "command": 124}]})");
  ASSERT_TRUE(table.has_value() && table->size() == 2);
  EXPECT_TRUE(table->at(0).keys == QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M) && table->at(1).keys == Qt::Key_F5);
  EXPECT_EQ(table->at(0).command + table->at(1).command, 250);
  for (const std::string entries : {R"({"keys": "Ctrl+Nowhere", "command": 1})", R"({"keys": "Ctrl+K, Ctrl+N", "command": 1})",
                                    R"({"keys": "Ctrl+N", "command": "1"})", R"("Ctrl+N")",
                                    R"({"keys": "Ctrl+N", "command": 1}, {"keys": "ctrl+n", "command": 2})"})
    EXPECT_FALSE(ParseAcceleratorTable(QByteArrayView("{\"accelerators\": [" + entries + "]}")).has_value()) << entries;
  EXPECT_FALSE(ParseAcceleratorTable(QByteArrayView("Ctrl+N = 100")).has_value());
  EXPECT_FALSE(ParseAcceleratorTable(QByteArrayView(R"({"keys": "Ctrl+N", "command": 100})")).has_value());
}

}  // namespace
}  // namespace ab
