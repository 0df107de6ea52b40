#include "resources/ResourceFormats.h"

#include <QString>

#include <gtest/gtest.h>

namespace ab {
namespace {

bool IsValidUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toStdString() == text;
}

// --- String table -------------------------------------------------------------

TEST(StringTableTest, ReadsIdsTextsAndEscapes) {
  const auto table = ParseStringTable(
      "# comment line\n"
      "\n"
      "6\tAddress Book\n"
      "42\tFirst line\\nSecond\\tline \\\\ done\r\n"
      "65535\tlast possible ID\n"
      "7\t\n"
      "8\tno newline at the end");
  ASSERT_TRUE(table.has_value());
  EXPECT_EQ(table->size(), 5u);
  EXPECT_EQ(table->at(6), "Address Book");
  EXPECT_EQ(table->at(42), "First line\nSecond\tline \\ done");  // the CR of a CR LF line is dropped
  EXPECT_EQ(table->at(65535), "last possible ID");
  EXPECT_EQ(table->at(7), "");
  EXPECT_EQ(table->at(8), "no newline at the end");
}

TEST(StringTableTest, KeepsTabsAndUtf8InsideTheText) {
  const auto table = ParseStringTable("5\tGr\xC3\xBC\xC3\x9F" "e\taus \xE4\xB8\xAD\n");
  ASSERT_TRUE(table.has_value());
  EXPECT_EQ(table->at(5), "Gr\xC3\xBC\xC3\x9F" "e\taus \xE4\xB8\xAD");
}

TEST(StringTableTest, RejectsMalformedTables) {
  const std::pair<const char*, const char*> cases[] = {
      {"no tab", "6 Address Book\n"},
      {"ID not a number", "six\tAddress Book\n"},
      {"negative ID", "-6\tAddress Book\n"},
      {"ID beyond 16 bits", "65536\ttoo large\n"},
      {"empty ID", "\ttext\n"},
      {"space before the ID", " 6\ttext\n"},
      {"unknown escape", "6\tC:\\path\n"},
      {"escape at the end", "6\ttext\\\n"},
      {"duplicate ID", "6\tone\n6\ttwo\n"},
  };
  for (const auto& [name, source] : cases) {
    EXPECT_FALSE(ParseStringTable(source).has_value()) << name;
  }
}

// --- Cutting to a buffer ----------------------------------------------------------

TEST(CutToCapacityTest, KeepsAtMostCapacityMinusOneBytes) {
  EXPECT_EQ(CutToCapacity("Address Book", 16), "Address Book");
  EXPECT_EQ(CutToCapacity("Address Book", 13), "Address Book");
  EXPECT_EQ(CutToCapacity("Address Book", 12), "Address Boo");
  EXPECT_EQ(CutToCapacity("Address Book", 1), "");
  EXPECT_EQ(CutToCapacity("Address Book", 0), "");
  EXPECT_EQ(CutToCapacity("Address Book", -5), "");
}

// For every capacity, the cut is the longest prefix made of whole characters that
// fits, so it is valid UTF-8 whenever the text is.
TEST(CutToCapacityTest, NeverSplitsAUtf8Character) {
  const std::string texts[] = {
      "Gr\xC3\xBC\xC3\x9F" "e",                 // two-byte characters
      "\xE4\xB8\xAD\xE6\x96\x87 ok",            // three-byte characters
      "x\xF0\x9F\x98\x80y",                     // a four-byte character
      "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80",   // one of each, back to back
  };
  for (const std::string& text : texts) {
    for (int capacity = 0; capacity <= static_cast<int>(text.size()) + 2; ++capacity) {
      const std::string cut = CutToCapacity(text, capacity);
      const int room = std::max(0, capacity - 1);
      SCOPED_TRACE(text + " capacity " + std::to_string(capacity));
      EXPECT_LE(static_cast<int>(cut.size()), room);
      EXPECT_EQ(text.compare(0, cut.size(), cut), 0);
      EXPECT_TRUE(IsValidUtf8(cut));
      // Longest: the next whole character would not have fitted.
      if (cut.size() < text.size()) {
        std::size_t next = cut.size() + 1;
        while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) ++next;
        EXPECT_GT(static_cast<int>(next), room);
      }
    }
  }
}

TEST(CutToCapacityTest, CutsBytesThatAreNotUtf8OneByOne) {
  // A lone continuation byte or a truncated sequence counts as one character each.
  EXPECT_EQ(CutToCapacity("ab\x80\x80" "cd", 4), "ab\x80");
  EXPECT_EQ(CutToCapacity("ab\xE4\xB8", 4), "ab\xE4");
  EXPECT_EQ(CutToCapacity("M\xFCnchen", 3), "M\xFC");
}

// --- Menus --------------------------------------------------------------------

TEST(MenuFormatTest, ReadsCommandsSeparatorsAndNestedPopups) {
  const auto items = ParseMenu(R"({
    "comment": "ignored",
    "items": [
      { "text": "&File", "items": [
        { "id": 100, "text": "&New\tCtrl+N" },
        { "separator": true },
        { "text": "&Sort", "items": [ { "id": 112, "text": "&Name", "checked": true } ] },
        { "id": 135, "text": "&CSV", "grayed": true, "checkable": true }
      ] }
    ] })");
  ASSERT_TRUE(items.has_value());
  ASSERT_EQ(items->size(), 1u);
  const MenuItemData& file = items->at(0);
  EXPECT_EQ(file.kind, MenuItemData::Kind::Popup);
  EXPECT_EQ(file.text, "&File");
  ASSERT_EQ(file.items.size(), 4u);

  const MenuItemData& newItem = file.items[0];
  EXPECT_EQ(newItem.kind, MenuItemData::Kind::Command);
  EXPECT_EQ(newItem.id, 100);
  EXPECT_EQ(newItem.text, "&New\tCtrl+N");
  EXPECT_FALSE(newItem.checkable || newItem.checked || newItem.grayed);

  EXPECT_EQ(file.items[1].kind, MenuItemData::Kind::Separator);

  const MenuItemData& sort = file.items[2];
  ASSERT_EQ(sort.kind, MenuItemData::Kind::Popup);
  ASSERT_EQ(sort.items.size(), 1u);
  EXPECT_EQ(sort.items[0].id, 112);
  EXPECT_TRUE(sort.items[0].checked);
  EXPECT_TRUE(sort.items[0].checkable);  // a ticked item can be unticked later

  EXPECT_TRUE(file.items[3].grayed);
  EXPECT_TRUE(file.items[3].checkable);
  EXPECT_FALSE(file.items[3].checked);
}

TEST(MenuFormatTest, RejectsMalformedMenus) {
  const std::pair<const char*, const char*> cases[] = {
      {"not JSON", "items: []"},
      {"not an object", R"([ { "id": 100, "text": "x" } ])"},
      {"no items", R"({ "popups": [] })"},
      {"items not an array", R"({ "items": { "id": 100 } })"},
      {"command without text", R"({ "items": [ { "id": 100 } ] })"},
      {"command with empty text", R"({ "items": [ { "id": 100, "text": "" } ] })"},
      {"command without ID", R"({ "items": [ { "text": "&New" } ] })"},
      {"ID as text", R"({ "items": [ { "id": "100", "text": "&New" } ] })"},
      {"fractional ID", R"({ "items": [ { "id": 100.5, "text": "&New" } ] })"},
      {"negative ID", R"({ "items": [ { "id": -1, "text": "&New" } ] })"},
      {"ID beyond 16 bits", R"({ "items": [ { "id": 70000, "text": "&New" } ] })"},
      {"flag not a boolean", R"({ "items": [ { "id": 100, "text": "&New", "checked": 1 } ] })"},
      {"separator false", R"({ "items": [ { "separator": false } ] })"},
      {"popup without text", R"({ "items": [ { "items": [] } ] })"},
      {"entry not an object", R"({ "items": [ 100 ] })"},
      {"bad entry deep inside", R"({ "items": [ { "text": "a", "items": [ { "text": "b", "items": [ { "id": 1 } ] } ] } ] })"},
  };
  for (const auto& [name, json] : cases) {
    EXPECT_FALSE(ParseMenu(QByteArrayView(json)).has_value()) << name;
  }
}

TEST(MenuFormatTest, LimitsNesting) {
  auto nested = [](int popups) {
    std::string entry = R"({ "id": 1, "text": "leaf" })";
    for (int i = 0; i < popups; ++i) entry = R"({ "text": "p", "items": [ )" + entry + " ] }";
    return R"({ "items": [ )" + entry + " ] }";
  };
  EXPECT_TRUE(ParseMenu(QByteArrayView(nested(8))).has_value());
  EXPECT_FALSE(ParseMenu(QByteArrayView(nested(9))).has_value());
}

// --- Accelerator tables -------------------------------------------------------------

TEST(AcceleratorFormatTest, ReadsKeysAndCommands) {
  const auto table = ParseAcceleratorTable(R"({ "accelerators": [
      { "keys": "Ctrl+N", "command": 100 },
      { "keys": "Alt+Return", "command": 102 },
      { "keys": "Ctrl+Shift+M", "command": 126 },
      { "keys": "F5", "command": 124 } ] })");
  ASSERT_TRUE(table.has_value());
  ASSERT_EQ(table->size(), 4u);
  EXPECT_EQ(table->at(0).keys, QKeySequence(Qt::CTRL | Qt::Key_N));
  EXPECT_EQ(table->at(0).command, 100);
  EXPECT_EQ(table->at(1).keys, QKeySequence(Qt::ALT | Qt::Key_Return));
  EXPECT_EQ(table->at(2).keys, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
  EXPECT_EQ(table->at(3).keys, QKeySequence(Qt::Key_F5));
  EXPECT_EQ(table->at(3).command, 124);
}

TEST(AcceleratorFormatTest, RejectsMalformedTables) {
  const std::pair<const char*, const char*> cases[] = {
      {"not JSON", "Ctrl+N = 100"},
      {"no list", R"({ "keys": "Ctrl+N", "command": 100 })"},
      {"unknown key", R"({ "accelerators": [ { "keys": "Ctrl+Nowhere", "command": 100 } ] })"},
      {"modifier only", R"({ "accelerators": [ { "keys": "Ctrl+", "command": 100 } ] })"},
      {"empty keys", R"({ "accelerators": [ { "keys": "", "command": 100 } ] })"},
      {"two-key chord", R"({ "accelerators": [ { "keys": "Ctrl+K, Ctrl+N", "command": 100 } ] })"},
      {"keys missing", R"({ "accelerators": [ { "command": 100 } ] })"},
      {"command missing", R"({ "accelerators": [ { "keys": "Ctrl+N" } ] })"},
      {"command as text", R"({ "accelerators": [ { "keys": "Ctrl+N", "command": "100" } ] })"},
      {"entry not an object", R"({ "accelerators": [ "Ctrl+N" ] })"},
      {"same key twice", R"({ "accelerators": [ { "keys": "Ctrl+N", "command": 100 },
                                                 { "keys": "ctrl+n", "command": 102 } ] })"},
  };
  for (const auto& [name, json] : cases) {
    EXPECT_FALSE(ParseAcceleratorTable(QByteArrayView(json)).has_value()) << name;
  }
}

}  // namespace
}  // namespace ab
