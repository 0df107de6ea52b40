#include "contacts/CardText.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <vector>

namespace ab {

namespace {

constexpr std::string_view kCrLf = "\r\n";

bool IsAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

std::string_view TrimWhite(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
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

// `bytes` in `charset` as UTF-8; bytes that do not convert are kept as '?'.
std::optional<std::string> ConvertToUtf8(std::string_view bytes, const char* charset) {
  iconv_t cd = iconv_open("UTF-8", charset);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string in(bytes);
  std::string out(in.size() * 4 + 16, '\0');
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) break;
    if ((errno != EILSEQ && errno != EINVAL) || outLeft == 0) break;
    *outPtr++ = '?';
    --outLeft;
    ++inPtr;
    --inLeft;
  }
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

// The program's texts are UTF-8: a value in another declared character set is
// converted, and undeclared bytes that are not UTF-8 are taken as Windows-1252.
std::string ValueAsUtf8(std::string value, const std::string& charset) {
  const bool declared = !charset.empty() && !EqualsIgnoreCase(charset, "UTF-8") && !EqualsIgnoreCase(charset, "UTF8");
  if (!declared && IsValidUtf8(value)) return value;
  auto converted = ConvertToUtf8(value, declared ? charset.c_str() : "WINDOWS-1252");
  if (!converted && declared && !IsValidUtf8(value)) converted = ConvertToUtf8(value, "WINDOWS-1252");
  return converted ? *converted : value;
}

// UTF-16 with a byte-order mark becomes UTF-8; a UTF-8 mark is dropped.
std::optional<std::string> ToUtf8(std::string_view raw) {
  if (raw.starts_with("\xEF\xBB\xBF")) return std::string(raw.substr(3));
  bool le = raw.starts_with("\xFF\xFE");
  bool be = raw.starts_with("\xFE\xFF");
  std::size_t skip = 2;
  if (!le && !be && raw.size() >= 4) {
    // Without a mark, "BE" of BEGIN in UTF-16 shows the byte order by its zero bytes.
    le = raw[0] != '\0' && raw[1] == '\0' && raw[2] != '\0' && raw[3] == '\0';
    be = raw[0] == '\0' && raw[1] != '\0' && raw[2] == '\0' && raw[3] != '\0';
    skip = 0;
  }
  if (!le && !be) return std::string(raw);
  iconv_t cd = iconv_open("UTF-8", le ? "UTF-16LE" : "UTF-16BE");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string in(raw.substr(skip));
  std::string out(in.size() * 2 + 16, '\0');
  char* inPtr = in.data();
  std::size_t inLeft = in.size() & ~std::size_t{1};
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) break;
    if (errno != EILSEQ || inLeft < 2) break;
    // An unpaired surrogate: skip that code unit and go on.
    inPtr += 2;
    inLeft -= 2;
  }
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

// Physical lines, split at CR LF, LF or a lone CR.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

struct Parameter {
  std::string name;
  std::string value;  // empty for a bare word
};

struct PropertyLine {
  std::string name;  // with its group prefix, if any
  std::vector<Parameter> parameters;
  std::string value;
  std::string charset;  // the CHARSET parameter's value, if any
};

// Names and parameter words are plain ASCII: the parser tests their first
// byte with isalpha and takes the byte 0xFF for the end of its input.
bool IsWordChar(char c) { return c > ' ' && c < 0x7F && c != ';' && c != ':' && c != '='; }

// A word the parser takes as a name: a letter first, no separators inside,
// and not BEGIN or END, which it takes for the start or end of an object
// wherever they stand before a colon.
bool IsParserWord(std::string_view w) {
  return !w.empty() && IsAlpha(w.front()) && std::all_of(w.begin(), w.end(), IsWordChar) &&
         !EqualsIgnoreCase(w, "BEGIN") && !EqualsIgnoreCase(w, "END");
}

enum class Encoding { None, Base64, QuotedPrintable };

bool IsBase64Word(std::string_view w) { return EqualsIgnoreCase(w, "BASE64") || EqualsIgnoreCase(w, "B"); }
// The parser also takes its alias QP for quoted-printable.
bool IsQpWord(std::string_view w) { return EqualsIgnoreCase(w, "QUOTED-PRINTABLE") || EqualsIgnoreCase(w, "QP"); }

// The spellings the reader knows, for TYPE values of either letter case.
constexpr std::string_view kKnownTypeWords[] = {
    "HOME", "WORK", "VOICE", "FAX", "PAGER", "CELL", "MSG", "VIDEO", "ICQ", "PREF", "POSTAL", "PARCEL",
    "DOM", "INTL", "WAVE", "BMP", "AOL", "APPLELINK", "ATTMAIL", "CIS", "EWORLD", "IBMMail", "INTERNET",
    "MCIMAIL", "MSN", "POWERSHARE", "PRODIGY", "TLX", "X400"};

std::string KnownSpelling(std::string_view word) {
  for (auto known : kKnownTypeWords)
    if (EqualsIgnoreCase(known, word)) return std::string(known);
  return std::string(word);
}

// Splits "NAME;P1;P2=V:value" into its parts; nullopt when the line has no
// colon or no usable name.
std::optional<PropertyLine> ParsePropertyLine(std::string_view line, Encoding& encoding) {
  const auto colon = line.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  std::string_view head = line.substr(0, colon);
  PropertyLine prop;
  prop.value = std::string(line.substr(colon + 1));

  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const auto semi = head.find(';', start);
    parts.push_back(TrimWhite(head.substr(start, semi == std::string_view::npos ? semi : semi - start)));
    if (semi == std::string_view::npos) break;
    start = semi + 1;
  }
  if (!IsParserWord(parts.front())) return std::nullopt;
  prop.name = std::string(parts.front());

  encoding = Encoding::None;
  auto addBare = [&](std::string_view word) {
    if (!IsParserWord(word)) return;
    if (IsBase64Word(word) || IsQpWord(word)) {
      // One encoding per property: the parser keeps a mode per encoding word.
      const Encoding e = IsBase64Word(word) ? Encoding::Base64 : Encoding::QuotedPrintable;
      if (encoding != Encoding::None) return;
      encoding = e;
      prop.parameters.push_back({e == Encoding::Base64 ? "BASE64" : "QUOTED-PRINTABLE", {}});
      return;
    }
    prop.parameters.push_back({std::string(word), {}});
  };
  for (std::size_t i = 1; i < parts.size(); ++i) {
    std::string_view part = parts[i];
    const auto eq = part.find('=');
    if (eq == std::string_view::npos) {
      addBare(part);
      continue;
    }
    const std::string_view name = TrimWhite(part.substr(0, eq));
    std::string_view value = TrimWhite(part.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    if (EqualsIgnoreCase(name, "ENCODING")) {
      addBare(value);  // 8BIT, 7BIT and the like are the default anyway
    } else if (EqualsIgnoreCase(name, "TYPE")) {
      for (std::size_t start = 0;;) {
        const auto comma = value.find(',', start);
        const auto word = TrimWhite(value.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (IsParserWord(word)) addBare(KnownSpelling(word));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
      }
    } else if (EqualsIgnoreCase(name, "CHARSET")) {
      prop.charset = std::string(value);  // the value is converted to UTF-8, so the word goes
    } else if (IsBase64Word(value) || IsQpWord(value)) {
      addBare(value);  // the parser takes an encoding word as the value of any parameter
    } else if (IsBase64Word(name) || IsQpWord(name)) {
      addBare(name);  // ... and as the name of one, whatever its value
    } else if (IsParserWord(name) && IsParserWord(value)) {
      prop.parameters.push_back({std::string(name), std::string(value)});
    }
  }
  return prop;
}

bool IsBase64Char(char c) {
  return IsAlpha(c) || (c >= '0' && c <= '9') || c == '+' || c == '/';
}

// True for a line that can only be more BASE64 data.
bool IsBase64DataLine(std::string_view line) {
  return std::all_of(line.begin(), line.end(),
                     [](char c) { return IsBase64Char(c) || c == '=' || c == ' ' || c == '\t'; });
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Decodes the alphabet characters up to the first '=' (padding ends the
// data); other characters are skipped and a lone last character is dropped.
std::string DecodeBase64(std::string_view data) {
  std::string bytes;
  bytes.reserve(data.size() / 4 * 3 + 3);
  std::uint32_t group = 0;
  int count = 0;
  for (char c : data) {
    if (c == '=') break;
    const int v = Base64Value(c);
    if (v < 0) continue;
    group = (group << 6) | static_cast<std::uint32_t>(v);
    if (++count == 4) {
      bytes += static_cast<char>(group >> 16);
      bytes += static_cast<char>(group >> 8);
      bytes += static_cast<char>(group);
      group = 0;
      count = 0;
    }
  }
  if (count == 2) bytes += static_cast<char>(group >> 4);
  if (count == 3) {
    bytes += static_cast<char>(group >> 10);
    bytes += static_cast<char>(group >> 2);
  }
  return bytes;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Decodes a quoted-printable value (soft line breaks already joined); an '='
// that does not start an escape stands for itself.
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

// The canonical form the parser decodes safely: '=' and control bytes escaped
// with upper-case hex, everything else as it is.
std::string EncodeQuotedPrintable(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b == 0) continue;
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

// A plain value: no NUL, no byte the parser takes for the end of input, and a
// line break in the stored form. Cards of version 3 and later escape with a
// backslash: \n is a line break, \; a semicolon within a component.
std::string PlainValue(std::string_view value, bool backslashEscapes) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\0') continue;
    if (backslashEscapes && c == '\\' && i + 1 < value.size()) {
      const char e = value[++i];
      if (e == 'n' || e == 'N') out += "\x01\x01";
      else if (e == ';') out += "\x02\x02";
      else if (e == ',' || e == '\\' || e == ':') out += e;
      else out += {c, e};
      continue;
    }
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
      out += "\x01\x01";
    } else if (static_cast<unsigned char>(c) == 0xFF) {
      out += '?';
    } else {
      out += c;
    }
  }
  return out;
}

bool IsStructured(std::string_view name) {
  const auto dot = name.rfind('.');
  const auto base = dot == std::string_view::npos ? name : name.substr(dot + 1);
  return EqualsIgnoreCase(base, "N") || EqualsIgnoreCase(base, "ADR") || EqualsIgnoreCase(base, "ORG");
}

void AppendHead(std::string& out, const PropertyLine& prop, bool dropEncoding) {
  out += prop.name;
  for (const auto& p : prop.parameters) {
    if (dropEncoding && (IsQpWord(p.name) || p.name == "BASE64")) continue;
    out += ';';
    out += p.name;
    if (!p.value.empty()) {
      out += '=';
      out += p.value;
    }
  }
  out += ':';
}

void AppendTextValue(std::string& out, const std::string& value) {
  // An empty value would make the parser take the next line as the value.
  out += TrimWhite(value).empty() ? std::string_view(" ") : std::string_view(value);
  out += kCrLf;
}

class CardWriter {
 public:
  explicit CardWriter(std::vector<std::string_view> lines) : lines_(std::move(lines)) {}

  std::optional<NormalizedCard> Run() {
    if (!SkipToBegin()) return std::nullopt;
    card_.text = "BEGIN:VCARD\r\n";
    int nested = 0;
    while (next_ < lines_.size()) {
      std::string line = TakeLogicalLine();
      std::string_view trimmed = TrimWhite(line);
      if (trimmed.empty()) continue;
      if (const auto kind = BeginEnd(trimmed)) {
        if (*kind == 'B') {
          ++nested;
        } else if (nested > 0) {
          --nested;
        } else if (IsProperty(trimmed, "END", "VCARD")) {
          card_.text += "END:VCARD\r\n";
          return std::move(card_);
        }
        continue;
      }
      if (nested > 0) continue;  // everything inside a nested object is not ours
      EmitProperty(line);
    }
    return std::nullopt;  // no END:VCARD: a truncated card is not read
  }

 private:
  // 'B' for a BEGIN line, 'E' for an END line.
  static std::optional<char> BeginEnd(std::string_view line) {
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto name = TrimWhite(line.substr(0, colon));
    if (EqualsIgnoreCase(name, "BEGIN")) return 'B';
    if (EqualsIgnoreCase(name, "END")) return 'E';
    return std::nullopt;
  }

  static bool IsProperty(std::string_view line, std::string_view name, std::string_view value) {
    line = TrimWhite(line);
    const auto colon = line.find(':');
    return colon != std::string_view::npos && EqualsIgnoreCase(TrimWhite(line.substr(0, colon)), name) &&
           (value.empty() || EqualsIgnoreCase(TrimWhite(line.substr(colon + 1)), value));
  }

  bool SkipToBegin() {
    while (next_ < lines_.size()) {
      if (!IsProperty(lines_[next_++], "BEGIN", "VCARD")) continue;
      // The version decides the folding and escaping rules of the whole card.
      for (std::size_t i = next_; i < lines_.size() && !IsProperty(lines_[i], "END", "VCARD"); ++i) {
        const auto line = TrimWhite(lines_[i]);
        if (IsProperty(line, "VERSION", "")) {
          const auto version = TrimWhite(line.substr(line.find(':') + 1));
          modernCard_ = !version.empty() && version.front() >= '3' && version.front() <= '9';
          break;
        }
      }
      return true;
    }
    return false;
  }

  // One property line with its folded continuation lines joined the way the
  // parser itself joins them (the break and the first blank become one space).
  // A quoted-printable value also takes the lines after a soft break.
  std::string TakeLogicalLine() {
    std::string line(lines_[next_++]);
    for (;;) {
      if (next_ >= lines_.size()) break;
      const auto following = lines_[next_];
      // Only the card's own end stops a soft break: the writer folds long
      // values anywhere, so a continuation may well start with "END:".
      if (!line.empty() && line.back() == '=' && HeadIsQuotedPrintable(line) &&
          !IsProperty(following, "END", "VCARD")) {
        line.pop_back();  // a soft line break
        line += following;
        ++next_;
      } else if (!following.empty() && (following.front() == ' ' || following.front() == '\t')) {
        if (HeadIsBase64(line)) break;  // indented data lines are handled with the data
        // Version 2.1 keeps the fold as a blank; later versions drop it.
        if (!modernCard_) line += ' ';
        line += following.substr(1);
        ++next_;
      } else {
        break;
      }
    }
    return line;
  }

  static bool HeadHasWord(std::string_view line, bool (*test)(std::string_view)) {
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
  static bool HeadIsBase64(std::string_view line) { return HeadHasWord(line, IsBase64Word); }
  static bool HeadIsQuotedPrintable(std::string_view line) { return HeadHasWord(line, IsQpWord); }

  void EmitProperty(std::string_view line) {
    Encoding encoding = Encoding::None;
    const auto prop = ParsePropertyLine(line, encoding);
    if (!prop) return;
    switch (encoding) {
      case Encoding::Base64: EmitBase64(*prop); break;
      case Encoding::QuotedPrintable: EmitQuotedPrintable(*prop); break;
      case Encoding::None:
        AppendHead(card_.text, *prop, false);
        AppendTextValue(card_.text, PlainValue(ValueAsUtf8(prop->value, prop->charset), modernCard_));
        break;
    }
  }

  // The data is decoded here and handed over beside the text: the parser's own
  // decoder crashes or hangs on damaged data and is slow on sound data.
  void EmitBase64(const PropertyLine& prop) {
    std::string data = prop.value;
    while (next_ < lines_.size()) {
      const auto following = lines_[next_];
      if (TrimWhite(following).empty()) {
        ++next_;
        break;
      }
      if (!IsBase64DataLine(following)) break;
      data += following;
      ++next_;
    }
    PropertyLine plain = prop;
    std::erase_if(plain.parameters, [](const Parameter& p) { return p.name == "BASE64"; });
    std::string bytes = DecodeBase64(data);
    // Without data the property gets no size, as when the parser finds none.
    if (!bytes.empty()) {
      plain.parameters.push_back({std::string(kAttachmentMarker), {}});
      card_.attachments.push_back(std::move(bytes));
    }
    AppendHead(card_.text, plain, false);
    AppendTextValue(card_.text, {});
  }

  void EmitQuotedPrintable(const PropertyLine& prop) {
    std::string_view value = prop.value;
    if (!value.empty() && value.back() == '=') value.remove_suffix(1);  // a soft break at the very end
    const std::string decoded = ValueAsUtf8(DecodeQuotedPrintable(value), prop.charset);
    if (IsStructured(prop.name)) {
      // The parser does not split quoted-printable values into components.
      AppendHead(card_.text, prop, true);
      AppendTextValue(card_.text, PlainValue(decoded, false));
      return;
    }
    AppendHead(card_.text, prop, false);
    std::string encoded = EncodeQuotedPrintable(decoded);
    // An empty value must not be empty on the line; the decoder drops "=00".
    card_.text += encoded.empty() ? std::string("=00") : encoded;
    card_.text += kCrLf;
  }

  std::vector<std::string_view> lines_;
  std::size_t next_ = 0;
  bool modernCard_ = false;
  NormalizedCard card_;
};

}  // namespace

std::string AsUtf8Text(std::string_view text) { return ValueAsUtf8(std::string(text), {}); }

std::optional<NormalizedCard> NormalizeCardText(std::string_view raw) {
  if (raw.size() > kMaxCardFileBytes) return std::nullopt;
  const auto utf8 = ToUtf8(raw);
  if (!utf8) return std::nullopt;
  return CardWriter(SplitLines(*utf8)).Run();
}

}  // namespace ab
