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

const std::string kChineseHeadings = QuotedLine({"名字", "姓氏", "電子郵件地址"});
const std::string kChineseRow = QuotedLine({"小明", "王", "ming@example.tw"});

// The charset found and the text of the file as the reader sees it.
std::pair<CsvCharset, std::string> Read(std::string_view bytes) {
  TempFolder folder;
  CsvTextFile file;
  EXPECT_TRUE(file.Open(folder.Write("in.csv", bytes), IsChineseHeadingRow));
  std::string text;
  for (int c = file.NextByte(); c >= 0; c = file.NextByte()) text += static_cast<char>(c);
  return {file.charset(), text};
}

// A text of many short lines in which multi-byte characters sit at every
// offset, so some of them straddle the boundary between two pieces of a large file.
std::string LongText(const std::string& character, int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    text += "\"" + std::string(static_cast<std::size_t>(i % 7), 'x');
    for (int k = 0; k < 5; ++k) text += character;
    text += "\",\"" + std::to_string(i) + "\"\n";
  }
  return text;
}

TEST(CsvCharset, FilesBecomeUtf8) {
  const std::string utf8 = kChineseHeadings + "\r\n" + kChineseRow + "\r\n";
  const std::string expected = kChineseHeadings + "\n" + kChineseRow + "\n";
  const std::string cjk = kChineseHeadings + "\n" + LongText("名", 9000);
  const std::string emoji = LongText("\xF0\x9F\x98\x80", 9000);  // surrogate pairs in UTF-16
  ASSERT_GT(cjk.size(), 3 * CsvTextFile::kPieceBytes);
  const struct {
    const char* name;
    std::string bytes;
    CsvCharset charset;
    std::string text;
  } cases[] = {
      {"UTF-8 byte-order mark is dropped", "\xEF\xBB\xBF" + utf8, CsvCharset::Utf8WithBom, expected},
      {"UTF-16BE with mark", "\xFE\xFF" + Encode(utf8, "UTF-16BE"), CsvCharset::Utf16BE, expected},
      // The same two headings written down byte by byte: 名字 is A6 57 A6 72, 姓氏 is A9 6D A4 F3.
      {"Big5 bytes", "\"\xA6\x57\xA6\x72\",\"\xA9\x6D\xA4\xF3\"\r\n", CsvCharset::Big5, "\"名字\",\"姓氏\"\n"},
      // Bytes that also read as Big5, but the headings are not Chinese ones.
      {"Big5-looking Western text", "\"Caf\xE9s\",\"Stra\xDF" "e\"\n", CsvCharset::Windows1252, "\"Cafés\",\"Straße\"\n"},
      {"Shift_JIS Japanese text", Encode("First Name,Notes\r\n権兵衛,名無しの権兵衛\r\n", "CP932"), CsvCharset::ShiftJis,
       "First Name,Notes\n権兵衛,名無しの権兵衛\n"},
      // Valid Shift_JIS too, but without kana.
      {"Western text that decodes as Shift_JIS", "Name\n\xD6zdemir Wei\xDF,R\xE9" "e\n", CsvCharset::Windows1252,
       "Name\nÖzdemir Weiß,Rée\n"},
      {"UTF-16 U+001A ends the data", "\xFF\xFE" + Encode("\"a\",\"b\"\n\x1A\"c\"\n", "UTF-16LE"), CsvCharset::Utf16LE,
       "\"a\",\"b\"\n"},
      // What follows 0x1A is never read, so it cannot make the file legacy text.
      {"bytes after 0x1A do not count", "\"é😀\",\"x\"\n\x1A\xFF\xFE\x80", CsvCharset::Utf8, "\"é😀\",\"x\"\n"},
      // Bytes that are no character become replacement characters.
      {"0x81 in Windows-1252", "\"Name\",\"a\x81z\"\n", CsvCharset::Windows1252, "\"Name\",\"a\xEF\xBF\xBDz\"\n"},
      // Large files are converted piece by piece.
      {"large UTF-16LE", "\xFF\xFE" + Encode(emoji, "UTF-16LE"), CsvCharset::Utf16LE, emoji},
      {"large Big5", Encode(cjk, "CP950"), CsvCharset::Big5, cjk},
      // One byte that is no UTF-8 far into the file makes all of it Windows-1252.
      {"large UTF-8 but one byte", "\"Zoë\"\n" + LongText("x", 9000) + "\"Caf\xE9\"\n", CsvCharset::Windows1252,
       "\"ZoÃ«\"\n" + LongText("x", 9000) + "\"Café\"\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto [charset, text] = Read(c.bytes);
    EXPECT_EQ(CharsetName(charset), CharsetName(c.charset));
    EXPECT_EQ(text, c.text);
  }
}

}  // namespace
}  // namespace ab
