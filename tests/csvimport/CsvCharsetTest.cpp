// Turning a CSV file into UTF-8 before the reader's byte rules run: byte-order
// marks, UTF-16, valid UTF-8, Big5 and Windows-1252, and pieces of large files.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/CsvTestSupport.h"
#include "csvimport/CsvCharset.h"
#include "csvimport/CsvHeadings.h"
#include "csvimport/CsvTextFile.h"

namespace ab {
namespace {

using testing::Encode;
using testing::QuotedLine;
using testing::TempFolder;
using Rows = std::vector<std::string>;

const std::string kChineseHeadings = QuotedLine({"名字", "姓氏", "電子郵件地址"});
const std::string kChineseRow = QuotedLine({"小明", "王", "ming@example.tw"});

struct Decoded {
  CsvCharset charset;
  Rows rows;
};

// The text of the file as the reader sees it, cut into lines after each LF.
Decoded Read(const TempFolder& folder, std::string_view bytes) {
  CsvTextFile file;
  EXPECT_TRUE(file.Open(folder.Write("in.csv", bytes), IsChineseHeadingRow));
  Decoded d{file.charset(), {}};
  for (int c = file.NextByte(); c >= 0; c = file.NextByte()) {
    if (d.rows.empty() || d.rows.back().back() == '\n') d.rows.emplace_back();
    d.rows.back() += static_cast<char>(c);
  }
  return d;
}

// The rows a reader gives for UTF-8 text of complete short lines ending in LF.
Rows LinesOf(const std::string& text) {
  Rows rows;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    rows.push_back(text.substr(start, end - start + 1));
    start = end + 1;
  }
  return rows;
}

struct CharsetCase {
  const char* name;
  std::string bytes;
  CsvCharset charset;
  Rows rows;
};

TEST(CsvCharset, FilesBecomeUtf8) {
  const std::string utf8 = kChineseHeadings + "\r\n" + kChineseRow + "\r\n";
  const Rows expected = {kChineseHeadings + "\n", kChineseRow + "\n"};
  const CharsetCase cases[] = {
      {"plain ASCII", "\"Title\",\"First Name\"\n", CsvCharset::Utf8, {"\"Title\",\"First Name\"\n"}},
      {"UTF-8 byte-order mark is dropped", "\xEF\xBB\xBF" + utf8, CsvCharset::Utf8WithBom, expected},
      {"UTF-16BE with mark", "\xFE\xFF" + Encode(utf8, "UTF-16BE"), CsvCharset::Utf16BE, expected},
      // The same two headings written down byte by byte: 名字 is A6 57 A6 72, 姓氏 is A9 6D A4 F3.
      {"Big5 bytes", "\"\xA6\x57\xA6\x72\",\"\xA9\x6D\xA4\xF3\"\r\n", CsvCharset::Big5,
       {"\"名字\",\"姓氏\"\n"}},
      // Bytes that also read as Big5, but the headings are not Chinese ones.
      {"Big5-looking Western text", "\"Caf\xE9s\",\"Stra\xDF" "e\"\n", CsvCharset::Windows1252,
       {"\"Cafés\",\"Straße\"\n"}},
      {"Shift_JIS Japanese text", Encode("First Name,Notes\r\n権兵衛,名無しの権兵衛\r\n", "CP932"), CsvCharset::ShiftJis,
       {"First Name,Notes\n", "権兵衛,名無しの権兵衛\n"}},
      // Valid Shift_JIS too, but without kana.
      {"Western text that decodes as Shift_JIS", "Name\n\xD6zdemir Wei\xDF,R\xE9" "e\n", CsvCharset::Windows1252,
       {"Name\n", "Özdemir Weiß,Rée\n"}},
      // A Chinese file whose headings are all ASCII ("ISDN", "Telix") gives no sign of Big5.
      {"ASCII headings of the Chinese table", "\"ISDN\",\"Telix\"\n\"\xE9\"\n", CsvCharset::Windows1252,
       {"\"ISDN\",\"Telix\"\n", "\"é\"\n"}},
      {"UTF-16 U+001A ends the data", "\xFF\xFE" + Encode("\"a\",\"b\"\n\x1A\"c\"\n", "UTF-16LE"),
       CsvCharset::Utf16LE, {"\"a\",\"b\"\n"}},
      // What follows 0x1A is never read, so it cannot make the file legacy text.
      {"bytes after 0x1A do not count", "\"é\",\"x\"\n\x1A\xFF\xFE\x80", CsvCharset::Utf8, {"\"é\",\"x\"\n"}},
  };
  for (const CharsetCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const Decoded d = Read(folder, c.bytes);
    EXPECT_EQ(CharsetName(d.charset), CharsetName(c.charset));
    EXPECT_EQ(d.rows, c.rows);
  }
}

// A text of many short lines in which multi-byte characters sit at every
// offset, so some of them straddle the boundary between two pieces.
std::string LongText(const std::string& character, int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    text += "\"" + std::string(static_cast<std::size_t>(i % 7), 'x');
    for (int k = 0; k < 5; ++k) text += character;
    text += "\",\"" + std::to_string(i) + "\"\n";
  }
  return text;
}

TEST(CsvCharset, LargeFilesAreConvertedPieceByPiece) {
  ASSERT_GT(LongText("名", 9000).size(), 3 * CsvTextFile::kPieceBytes);
  struct Case {
    const char* name;
    std::string utf8;
    std::string bytes;
    CsvCharset charset;
  };
  const std::string cjk = kChineseHeadings + "\n" + LongText("名", 9000);
  const std::string emoji = LongText("\xF0\x9F\x98\x80", 9000);  // surrogate pairs in UTF-16
  // One byte that is no UTF-8 far into the file makes all of it Windows-1252.
  const std::string late = "\"Zoë\"\n" + LongText("x", 9000) + "\"Caf\xE9\"\n";
  const Case cases[] = {
      {"UTF-16LE", emoji, "\xFF\xFE" + Encode(emoji, "UTF-16LE"), CsvCharset::Utf16LE},
      {"Big5", cjk, Encode(cjk, "CP950"), CsvCharset::Big5},
      {"UTF-8 but one byte", "\"ZoÃ«\"\n" + LongText("x", 9000) + "\"Café\"\n", late, CsvCharset::Windows1252},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const Decoded d = Read(folder, c.bytes);
    EXPECT_EQ(d.charset, c.charset);
    EXPECT_EQ(d.rows, LinesOf(c.utf8));
  }
}

}  // namespace
}  // namespace ab
