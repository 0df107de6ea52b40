#pragma once
// The character sets a CSV contact export comes in, and their conversion to
// the program's UTF-8 with glibc iconv, one piece of the file at a time.

#include <iconv.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ab {

enum class CsvCharset {
  Utf8,         // plain UTF-8 (ASCII included)
  Utf8WithBom,  // UTF-8 behind a byte-order mark, which is dropped
  Utf16LE,      // UTF-16 behind the mark FF FE
  Utf16BE,      // UTF-16 behind the mark FE FF
  Big5,         // Traditional Chinese Windows text, code page 950
  ShiftJis,     // Japanese Windows text, code page 932
  Windows1252,  // Western Windows text, code page 1252
};

// A short name for messages and test output ("UTF-8", "BIG5" ...).
std::string_view CharsetName(CsvCharset charset);

// The replacement character that stands for bytes which are no character.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// Checks that bytes fed in any number of pieces are well-formed UTF-8:
// no stray continuation bytes, no over-long forms, no surrogates, nothing
// above U+10FFFF. A sequence may be split between two pieces.
class Utf8Validator {
 public:
  void Feed(std::string_view bytes);
  bool Valid() const { return valid_; }
  // True when everything fed is valid and no sequence is left open.
  bool Finish() const { return valid_ && needed_ == 0; }

 private:
  bool valid_ = true;
  int needed_ = 0;  // continuation bytes still expected
  unsigned char low_ = 0x80;
  unsigned char high_ = 0xBF;
};

// Converts text of one character set to UTF-8 piece by piece. A character cut
// by the end of a piece is held back for the next one; bytes that are not a
// character of the set become U+FFFD and the conversion goes on.
class CharsetDecoder {
 public:
  explicit CharsetDecoder(CsvCharset from);
  ~CharsetDecoder();
  CharsetDecoder(const CharsetDecoder&) = delete;
  CharsetDecoder& operator=(const CharsetDecoder&) = delete;

  // False when iconv knows none of the set's names (or for the UTF-8 sets,
  // which need no conversion).
  bool IsOpen() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Appends the UTF-8 of `bytes` to `out`. With `last`, a character left
  // incomplete at the end becomes U+FFFD instead of being held back.
  void Feed(std::string_view bytes, bool last, std::string& out);

 private:
  iconv_t cd_;
  std::size_t unitBytes_;  // bytes skipped past an invalid sequence
  std::string held_;
};

// The whole of `bytes` as UTF-8; empty when any byte is not a character of
// the set (used to try a character set on the heading row).
std::optional<std::string> DecodeStrictly(std::string_view bytes, CsvCharset from);

// True when a character of the text (well-formed UTF-8, as the reader
// delivers it) lies in [low, high].
bool HasCodePointIn(std::string_view utf8, char32_t low, char32_t high);

}  // namespace ab
