#pragma once
// A CSV file as the reader sees it: UTF-8 text read in text mode, that is a
// carriage return followed by a line feed reads as a line feed and a byte
// 0x1A ends the readable data. The file's character set is settled when it is
// opened and the text is converted on the fly, one 64 KiB piece at a time, so
// a file of any size is read with bounded memory.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "csvimport/CsvCharset.h"

namespace ab {

// Why a file is not read; the import shows them with the caption below.
inline constexpr std::string_view kCsvOpenErrorText = "can not open CSV file";
inline constexpr std::string_view kCsvTooLargeText = "The CSV file is larger than 64 MB; nothing was imported.";
inline constexpr std::string_view kCsvOpenErrorCaption = "IMPORT ERROR";

class CsvTextFile {
 public:
  // Tells whether the first line, converted to UTF-8, is a Traditional
  // Chinese heading row; it decides between Big5 and Windows-1252.
  using HeadingRowTest = std::function<bool(std::string_view utf8Line)>;

  static constexpr std::size_t kPieceBytes = 64 * 1024;
  // Larger files are not read at all.
  static constexpr std::uint64_t kMaxFileBytes = 64ull * 1024 * 1024;

  CsvTextFile() = default;
  ~CsvTextFile() { Close(); }
  CsvTextFile(const CsvTextFile&) = delete;
  CsvTextFile& operator=(const CsvTextFile&) = delete;

  // Opens the file and settles its character set:
  // - a UTF-8 byte-order mark is dropped and the rest taken as UTF-8;
  // - UTF-16 with a byte-order mark (either order) is converted;
  // - text that is valid UTF-8 up to its end (or its 0x1A) stays as it is;
  // - anything else is Windows text: Big5 when the first line read as Big5
  //   passes `isChineseHeadingRow`, Shift_JIS when the lines of the first
  //   piece are Japanese text in it, otherwise Windows-1252.
  // False when the file cannot be opened or read, is not a regular file, or
  // is larger than kMaxFileBytes; `error` then gets kCsvOpenErrorText or
  // kCsvTooLargeText.
  bool Open(const std::string& path, const HeadingRowTest& isChineseHeadingRow, std::string* error = nullptr);
  bool IsOpen() const { return file_ != nullptr; }
  void Close();
  CsvCharset charset() const { return charset_; }

  // The next byte of the text (CR LF comes as one LF); -1 at the end of the
  // data, where the file is closed.
  int NextByte();

 private:
  bool ValidUtf8FromHere(std::string_view firstPiece);
  bool Refill();
  void Deliver(std::string_view bytes, bool last);
  int PeekTextByte();

  std::FILE* file_ = nullptr;
  CsvCharset charset_ = CsvCharset::Utf8;
  std::unique_ptr<CharsetDecoder> decoder_;
  std::string raw_;
  std::string text_;  // converted text not yet read
  std::size_t pos_ = 0;
  bool fileEnded_ = false;
  bool dataEnded_ = false;
};

}  // namespace ab
