#pragma once
// Byte-level helpers for card text: character sets, BASE64 and
// quoted-printable, and the few word tests the card repair and the kept
// properties share. Nothing here calls the vObject library.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ab {

bool EqualsIgnoreCase(std::string_view a, std::string_view b);
std::string_view TrimWhite(std::string_view s);  // spaces and tabs at both ends
bool IsBlank(char c);

bool IsValidUtf8(std::string_view s);

// The text of a value as UTF-8: a value in another declared character set is
// converted, and undeclared bytes that are not UTF-8 are taken as Windows-1252.
std::string ValueAsUtf8(std::string value, std::string_view charset);
// True when `charset` names something other than UTF-8.
bool IsOtherCharset(std::string_view charset);

// A whole file as UTF-8: a UTF-8 mark is dropped and the rest used where it
// lies; UTF-16 (with or without a byte-order mark) is converted into
// `converted`, which the result then shows; nullopt when the conversion fails.
std::optional<std::string_view> FileTextAsUtf8(std::string_view raw, std::string& converted);

// Decodes the alphabet characters up to the first '=' (padding ends the
// data); other characters are skipped and a lone last character is dropped.
std::string DecodeBase64(std::string_view data);
// The same for data given in pieces (the lines of one value), decoded as if joined.
std::string DecodeBase64(std::span<const std::string_view> pieces);
// For each byte: its BASE64 value; kBase64Padding for '=', which ends the
// data; kBase64Blank for a space or tab; kBase64Other for anything else.
inline constexpr std::int8_t kBase64Other = -1;
inline constexpr std::int8_t kBase64Padding = -2;
inline constexpr std::int8_t kBase64Blank = -3;
inline constexpr auto kBase64Table = [] {
  std::array<std::int8_t, 256> table{};
  table.fill(kBase64Other);
  constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (std::size_t i = 0; i < alphabet.size(); ++i)
    table[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
  table['='] = kBase64Padding;
  table[' '] = kBase64Blank;
  table['\t'] = kBase64Blank;
  return table;
}();
// `bytes` as BASE64 lines of at most `lineLength` characters, each starting
// with `indent` and ending with CR LF.
std::string EncodeBase64Lines(std::string_view bytes, std::string_view indent, std::size_t lineLength);

// Decodes a quoted-printable value (soft line breaks already joined); an '='
// that does not start an escape stands for itself.
std::string DecodeQuotedPrintable(std::string_view value);
// The canonical form the parser decodes safely: '=' and control bytes escaped
// with upper-case hex, NUL and 0x03 dropped, everything else as it is.
std::string EncodeQuotedPrintable(std::string_view bytes);

// The parser's encoding words, in any letter case (QP is its alias).
bool IsBase64Word(std::string_view w);
bool IsQpWord(std::string_view w);

// True when a parameter of the property line `line` (before its first colon),
// or the value of one, passes `test`.
bool HeadHasWord(std::string_view line, bool (*test)(std::string_view));

// A word the parser takes as a name or a parameter: a letter first, no
// separators inside, and not BEGIN or END.
bool IsParserWord(std::string_view w);

}  // namespace ab
