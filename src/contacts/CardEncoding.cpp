#include "contacts/CardEncoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "contacts/CardText.h"

namespace ab {

namespace {

bool IsAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Names and parameter words are plain ASCII: the parser tests their first
// byte with isalpha and takes the byte 0xFF for the end of its input.
bool IsWordChar(char c) { return c > ' ' && c < 0x7F && c != ';' && c != ':' && c != '='; }

// Runs `bytes` through iconv from `charset` to UTF-8. `unitBytes` is how many
// input bytes to skip where a sequence does not convert: 1 puts a '?' in its
// place, 2 (UTF-16) drops the code unit.
std::optional<std::string> Iconv(std::string_view bytes, const char* charset, std::size_t unitBytes) {
  iconv_t cd = iconv_open("UTF-8", charset);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string in(bytes);
  std::string out(in.size() * 4 + 16, '\0');
  char* inPtr = in.data();
  std::size_t inLeft = unitBytes == 2 ? in.size() & ~std::size_t{1} : in.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) break;
    if (unitBytes == 2 ? (errno != EILSEQ || inLeft < 2) : ((errno != EILSEQ && errno != EINVAL) || outLeft == 0))
      break;
    if (unitBytes == 1) {
      *outPtr++ = '?';
      --outLeft;
    }
    inPtr += unitBytes;
    inLeft -= unitBytes;
  }
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}


int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

// Card words are ASCII: only A-Z fold, whatever the locale.
char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimWhite(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t len = b < 0x80 ? 1 : b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
    if (len == 0 || i + len > s.size()) return false;
    for (std::size_t k = 1; k < len; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += len;
  }
  return true;
}

bool IsOtherCharset(std::string_view charset) {
  return !charset.empty() && !EqualsIgnoreCase(charset, "UTF-8") && !EqualsIgnoreCase(charset, "UTF8");
}

std::string ValueAsUtf8(std::string value, std::string_view charset) {
  const bool declared = IsOtherCharset(charset);
  if (!declared && IsValidUtf8(value)) return value;
  auto converted = Iconv(value, declared ? std::string(charset).c_str() : "WINDOWS-1252", 1);
  if (!converted && declared && !IsValidUtf8(value)) converted = Iconv(value, "WINDOWS-1252", 1);
  return converted ? *converted : value;
}

std::optional<std::string_view> FileTextAsUtf8(std::string_view raw, std::string& converted) {
  if (raw.starts_with("\xEF\xBB\xBF")) return raw.substr(3);
  bool le = raw.starts_with("\xFF\xFE");
  bool be = raw.starts_with("\xFE\xFF");
  std::size_t skip = 2;
  if (!le && !be && raw.size() >= 4) {
    // Without a mark, "BE" of BEGIN in UTF-16 shows the byte order by its zero bytes.
    le = raw[0] != '\0' && raw[1] == '\0' && raw[2] != '\0' && raw[3] == '\0';
    be = raw[0] == '\0' && raw[1] != '\0' && raw[2] == '\0' && raw[3] != '\0';
    skip = 0;
  }
  if (!le && !be) return raw;
  // An unpaired surrogate is skipped and the conversion goes on.
  auto utf8 = Iconv(raw.substr(skip), le ? "UTF-16LE" : "UTF-16BE", 2);
  if (!utf8) return std::nullopt;
  converted = std::move(*utf8);
  return converted;
}

std::string DecodeBase64(std::string_view data) { return DecodeBase64(std::span<const std::string_view>(&data, 1)); }

std::string DecodeBase64(std::span<const std::string_view> pieces) {
  std::size_t characters = 0;
  for (const std::string_view piece : pieces) characters += piece.size();
  // Written through a pointer into room made once: a photo is tens of kilobytes.
  std::string bytes(characters / 4 * 3 + 2, '\0');
  auto* const begin = reinterpret_cast<unsigned char*>(bytes.data());
  unsigned char* out = begin;
  std::uint32_t group = 0;
  int count = 0;
  bool ended = false;
  for (std::size_t p = 0; p < pieces.size() && !ended; ++p) {
    for (const char c : pieces[p]) {
      const int v = kBase64Table[static_cast<unsigned char>(c)];
      if (v < 0) {
        ended = v == kBase64Padding;
        if (ended) break;
        continue;
      }
      group = (group << 6) | static_cast<std::uint32_t>(v);
      if (++count == 4) {
        *out++ = static_cast<unsigned char>(group >> 16);
        *out++ = static_cast<unsigned char>(group >> 8);
        *out++ = static_cast<unsigned char>(group);
        group = 0;
        count = 0;
      }
    }
  }
  if (count == 2) *out++ = static_cast<unsigned char>(group >> 4);
  if (count == 3) {
    *out++ = static_cast<unsigned char>(group >> 10);
    *out++ = static_cast<unsigned char>(group >> 2);
  }
  bytes.resize(static_cast<std::size_t>(out - begin));
  return bytes;
}

std::string EncodeBase64Lines(std::string_view bytes, std::string_view indent, std::size_t lineLength) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string data;
  data.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t group = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
    if (i + 1 < bytes.size()) group |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    if (i + 2 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 2]);
    data += kAlphabet[(group >> 18) & 63];
    data += kAlphabet[(group >> 12) & 63];
    data += i + 1 < bytes.size() ? kAlphabet[(group >> 6) & 63] : '=';
    data += i + 2 < bytes.size() ? kAlphabet[group & 63] : '=';
  }
  std::string out;
  for (std::size_t i = 0; i < data.size(); i += lineLength) {
    out += indent;
    out += std::string_view(data).substr(i, lineLength);
    out += "\r\n";
  }
  return out;
}

std::string DecodeQuotedPrintable(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '=' && i + 2 < value.size() && HexValue(value[i + 1]) >= 0 && HexValue(value[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(value[i + 1]) * 16 + HexValue(value[i + 2]));
      i += 2;
    } else {
      out += value[i];
    }
  }
  return out;
}

std::string EncodeQuotedPrintable(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b == 0 || c == kLeadingBlanksMarker) continue;
    if (c == '=' || (b < 0x20 && c != '\t') || b == 0x7F || b == 0xFF) {
      out += '=';
      out += kHex[b >> 4];
      out += kHex[b & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

bool IsBase64Word(std::string_view w) { return EqualsIgnoreCase(w, "BASE64") || EqualsIgnoreCase(w, "B"); }
bool IsQpWord(std::string_view w) { return EqualsIgnoreCase(w, "QUOTED-PRINTABLE") || EqualsIgnoreCase(w, "QP"); }

bool HeadHasWord(std::string_view line, bool (*test)(std::string_view)) {
  const auto colon = line.find(':');
  if (colon == std::string_view::npos) return false;
  const auto head = line.substr(0, colon);
  std::size_t start = head.find(';');
  while (start != std::string_view::npos) {
    const auto end = head.find(';', start + 1);
    auto part = TrimWhite(head.substr(start + 1, end == std::string_view::npos ? end : end - start - 1));
    const auto eq = part.find('=');
    if (eq != std::string_view::npos) part = TrimWhite(part.substr(eq + 1));
    if (test(part)) return true;
    start = end;
  }
  return false;
}

bool IsParserWord(std::string_view w) {
  return !w.empty() && IsAlpha(w.front()) && std::all_of(w.begin(), w.end(), IsWordChar) &&
         !EqualsIgnoreCase(w, "BEGIN") && !EqualsIgnoreCase(w, "END");
}

}  // namespace ab
