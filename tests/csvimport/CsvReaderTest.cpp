// The reader's position tests, value rules and row assembly.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>
#include <string>
#include <vector>

#include "CsvTestSupport.h"
#include "csvimport/CsvReader.h"

namespace ab {
namespace {

using testing::AllFields;
using testing::RowsOf;
using testing::TempFolder;
using Values = std::vector<std::string>;

struct ShapeCase {
  const char* line;
  bool complete;
  bool continues;  // asked only of lines that are not complete
  bool closing;
};

TEST(CsvReaderShape, PositionTestsOnLineShapes) {
  const ShapeCase cases[] = {
      {"\"Title\",\"First Name\",\"Last Name\"\n", true, false, false},
      {"\"a\",,\"b\"\n", true, false, false},
      {"\"\",\"\"\n", true, false, false},
      {"\n", true, false, false},
      {"no separators at all", true, false, false},
      {"\"a\",\"b\",\n", false, true, false},            // trailing comma
      {"a,b,c\n", false, true, false},                   // unquoted values
      {"\"a\",\"opened\n", false, true, false},          // value continues on the next line
      {"\"single column\"\n", false, false, false},      // no comma, two quotes
      {",\n", false, false, false},                      // the only separator is the first byte
      {"\"\n", false, false, false},
      {"rest of value\",\"next\"\n", true, false, true}, // closes a value, then a complete one
      {"rest\",\n", false, true, true},
      {"x \"y\",z\n", false, true, false},               // first quote not followed by the comma
      {"ab\",\"c\",\"\"", true, false, true},
  };
  for (const ShapeCase& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(CsvReader::IsRowComplete(c.line), c.complete);
    if (!c.complete) {
      EXPECT_EQ(CsvReader::NeedsContinuation(c.line), c.continues);
    }
    EXPECT_EQ(CsvReader::IsClosingLine(c.line), c.closing);
  }
}

TEST(CsvReaderShape, ClosingLineNeedsTheFirstQuoteBeforeTheComma) {
  EXPECT_FALSE(CsvReader::IsClosingLine("no quote, comma"));
  EXPECT_FALSE(CsvReader::IsClosingLine("\"a\",\"b\""));  // `",` first appears after the first quote
  EXPECT_TRUE(CsvReader::IsClosingLine("\","));
  EXPECT_TRUE(CsvReader::IsClosingLine("tail\",\"x\""));
}

struct FieldCase {
  const char* row;
  Values values;
};

TEST(CsvReaderFields, ValuesOfRowShapes) {
  const FieldCase cases[] = {
      {"\"Title\",\"First Name\",\"Last Name\"\n", {"Title", "First Name", "Last Name"}},
      {"\"a\",,\"b\"\n", {"a", "", "b"}},
      {"\"\",\"\"\n", {"", ""}},
      {"\"a\",\"b\",\n", {"a", "b"}},
      {"\"say \"\"hi\"\"\",\"x\"\n", {"say \"\"hi\"\"", "x"}},  // doubled quotes stay doubled
      // A comma inside a value ends it one byte early; the rest no longer lines up.
      {"\"Hello, John\",\"X\"\n", {"Hell", ",\"X\"", "X"}},
      {" \"A\",\"B\"\n", {"A\"", "B"}},  // a leading space keeps the closing quote
      {"\n", {}},
      {"", {}},
      {"plain,\"q\"\n", {}},  // unquoted first value with its comma before the first quote
      {"unquoted\n", {}},
      {",\"x\"", {"", "x"}},
      {"\"only\"  \n", {"only"}},  // spaces and line feed after the last quote are dropped
  };
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(c.row);
    EXPECT_EQ(AllFields(c.row), c.values);
  }
}

TEST(CsvReaderFields, RuleOneCountsFromTheStartWithoutAQuote) {
  // No double quote: the first value runs from the start of the row; with the
  // comma at position 1 or 0 it takes the whole rest of the row.
  std::string row = "a,b,c\n";
  EXPECT_EQ(CsvReader::NextField(row), "a,b,c\n");
  EXPECT_EQ(row, "b,c\n");
  row = "abcd,e\n";
  EXPECT_EQ(CsvReader::NextField(row), "ab");
  EXPECT_EQ(row, "e\n");
}

TEST(CsvReaderFields, MarkerLeavesTheRowUnchanged) {
  for (const char* text : {"x,\"y\"", "abc,def\"", "rest", "", "\n"}) {
    SCOPED_TRACE(text);
    std::string row = text;
    EXPECT_EQ(CsvReader::NextField(row), kEndOfFields);
    EXPECT_EQ(row, text);
  }
}

TEST(CsvReaderFields, ValueIsCutWhereTheRowEnds) {
  // No comma: lastQuote - 1 bytes after the first quote, but the row ends first.
  std::string row = "value \"q\"";
  EXPECT_EQ(CsvReader::NextField(row), "q\"");
  EXPECT_TRUE(row.empty());
  row = "\"";  // a lone quote gives an empty value
  EXPECT_EQ(CsvReader::NextField(row), "");
  EXPECT_TRUE(row.empty());
}

struct RowsCase {
  const char* name;
  std::string bytes;
  Values rows;
};

TEST(CsvReaderRows, RowsOfFiles) {
  const std::string longValue(1600, 'x');
  const RowsCase cases[] = {
      {"one row per line", "\"a\",\"b\"\n\"c\",\"d\"\n", {"\"a\",\"b\"\n", "\"c\",\"d\"\n"}},
      {"last line without line feed", "\"a\"\n\"b\",\"c\"", {"\"a\"\n", "\"b\",\"c\""}},
      {"empty lines are rows of one line feed", "\"a\",\"b\"\n\n\"c\",\"d\"\n",
       {"\"a\",\"b\"\n", "\n", "\"c\",\"d\"\n"}},
      {"CR LF reads as LF", "\"a\",\"b\"\r\n\"c\",\"d\"\r\n", {"\"a\",\"b\"\n", "\"c\",\"d\"\n"}},
      {"a lone CR stays", "\"a\r\",\"b\"\n", {"\"a\r\",\"b\"\n"}},
      {"0x1A ends the data", "\"a\",\"b\"\n\"c\",\"d\"\x1A\"e\",\"f\"\n", {"\"a\",\"b\"\n", "\"c\",\"d\""}},
      {"0x1A at the start", "\x1A\"a\",\"b\"\n", {}},
      {"continuation joins the closing line", "\"a\",\"first\nsecond\",\"b\"\n\"c\",\"d\"\n",
       {"\"a\",\"first\nsecond\",\"b\"\n", "\"c\",\"d\"\n"}},
      {"middle lines of a value are dropped", "\"a\",\"one\ntwo\nthree\",\"b\"\n",
       {"\"a\",\"one\nthree\",\"b\"\n"}},
      {"continuation across CR LF", "\"a\",\"first\r\nsecond\",\"b\"\r\n", {"\"a\",\"first\nsecond\",\"b\"\n"}},
      {"unquoted lines search for a closing line", "a,b,c\nd,e,f\n\"g\",\"h\"\nx\",\"y\"\n\"i\",\"j\"\n",
       {"a,b,c\nx\",\"y\"\n", "\"i\",\"j\"\n"}},
      {"end of file during the search keeps the first line", "\"a\",\"b\",\n\"c\",\"d\"\n",
       {"\"a\",\"b\",\n"}},
      {"a single quoted column is a row per line", "\"Name\"\n\"Ann\"\n", {"\"Name\"\n", "\"Ann\"\n"}},
      {"only separator first", ",\n\"a\",\"b\"\n", {",\n", "\"a\",\"b\"\n"}},
      {"a line longer than the buffer comes in pieces", "\"" + longValue + "\"\n",
       {"\"" + longValue.substr(0, 1498), longValue.substr(1498) + "\"\n"}},
  };
  for (const RowsCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    EXPECT_EQ(RowsOf(folder, c.bytes), c.rows);
  }
}

TEST(CsvReaderRows, ValueOverTwoLinesArrivesWhole) {
  TempFolder folder;
  const auto rows = RowsOf(folder, "\"Anna\",\"Line one\r\nLine two\",\"x@example.com\"\r\n");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(AllFields(rows[0]), (Values{"Anna", "Line one\nLine two", "x@example.com"}));
}

TEST(CsvReaderRows, RowNeverGrowsBeyondTwoReads) {
  // Thousands of long lines, none closing: the search ends at the end of the
  // file and the row keeps only its first read.
  std::string bytes = "\"a\",\"b\",\n";
  const std::string filler(3000, 'z');
  for (int i = 0; i < 2000; ++i) bytes += filler + "\n";
  TempFolder folder;
  const auto rows = RowsOf(folder, bytes);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], "\"a\",\"b\",\n");

  // A long opening line closed by a long line: two pieces of at most 1,499 bytes.
  const std::string open = "\"a\",\"" + std::string(1600, 'o') + "\n";
  const std::string close = std::string(1600, 'c') + "\",\"d\"\n";
  for (const std::string& row : RowsOf(folder, open + close)) EXPECT_LE(row.size(), 2u * 1499u);
}

TEST(CsvReaderRows, PiecesOfALongLineAreTestedOnTheirOwn) {
  // The first 1,499 bytes end in an opened value, so the search finds the
  // closing line among the pieces that follow.
  const std::string first = "\"a\",\"" + std::string(1494, 'v');  // exactly 1,499 bytes
  ASSERT_EQ(first.size(), 1499u);
  TempFolder folder;
  const auto rows = RowsOf(folder, first + "tail\",\"b\"\n\"c\",\"d\"\n");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], first + "tail\",\"b\"\n");
  EXPECT_EQ(rows[1], "\"c\",\"d\"\n");
}

TEST(CsvReaderRows, ArbitraryBytesGiveBoundedRowsAndValues) {
  // Bytes drawn mostly from the separators, line ends, 0x1A and bytes that
  // are not UTF-8, in every character set the reader may settle on.
  const std::string alphabet = std::string("\",,\"\n\r\x1A\xFF\xFE\xA6\x57\xE9\x80 ab", 16) + std::string(1, '\0');
  std::mt19937 random(20240601);
  TempFolder folder;
  for (int round = 0; round < 300; ++round) {
    std::string bytes;
    const int length = static_cast<int>(random() % 6000);
    for (int i = 0; i < length; ++i) bytes += alphabet[random() % alphabet.size()];
    if (round % 3 == 1) bytes = "\xFF\xFE" + bytes;
    CsvReader reader(folder.Write("random.csv", bytes), nullptr);
    ASSERT_TRUE(reader.IsOpen());
    int rows = 0;
    for (std::string* row = &reader.NextRow(); !row->empty(); row = &reader.NextRow()) {
      // A row is at most two reads of 1,499 bytes of the converted text.
      ASSERT_LE(row->size(), 2u * 1499u);
      const std::size_t size = row->size();
      std::size_t taken = 0;
      for (std::string v = CsvReader::NextField(*row); v != kEndOfFields; v = CsvReader::NextField(*row)) {
        ASSERT_LE(v.size(), size);
        ASSERT_LE(++taken, size);  // every value shortens the row
      }
      ASSERT_LE(++rows, length * 3 + 1);
    }
  }
}

TEST(CsvReaderOpen, WhatIsNoRegularFileShowsTheImportErrorAtOnce) {
  TempFolder folder;
  const std::string fifo = folder.File("pipe.csv");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);  // opening it must not wait for a writer
  for (const std::string& path : {folder.File("missing.csv"), fifo, std::string("/dev/zero"), folder.path()}) {
    SCOPED_TRACE(path);
    std::string text, caption;
    int shown = 0;
    CsvReader reader(path, [&](std::string_view t, std::string_view c) {
      text = t;
      caption = c;
      ++shown;
    });
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(text, "can not open CSV file");
    EXPECT_EQ(caption, "IMPORT ERROR");
    EXPECT_TRUE(reader.NextRow().empty());
  }
}

TEST(CsvReaderOpen, EmptyFileOpensAndHasNoRow) {
  TempFolder folder;
  int shown = 0;
  CsvReader reader(folder.Write("empty.csv", ""), [&](std::string_view, std::string_view) { ++shown; });
  EXPECT_TRUE(reader.IsOpen());
  EXPECT_EQ(shown, 0);
  EXPECT_TRUE(reader.NextRow().empty());
  EXPECT_TRUE(reader.NextRow().empty());
}

}  // namespace
}  // namespace ab
