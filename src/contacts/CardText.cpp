#include "contacts/CardText.h"

#include <algorithm>
#include <vector>

#include "contacts/ByteScan.h"
#include "contacts/CardEncoding.h"
#include "contacts/CardLine.h"

namespace ab {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Physical lines, split at CR LF, LF or a lone CR; a run of CRs before an LF
// ends one line (some phones write CR CR LF).
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  lines.reserve(text.size() / 32 + 8);  // lines of data are longer: the vector never grows
  std::size_t start = 0;
  // The ends are found with memchr: a card is mostly long runs of data.
  std::size_t lf = text.find('\n');
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (lf < i) lf = text.find('\n', i);
    const auto cr = text.substr(0, lf).find('\r', i);
    i = std::min(lf, cr);
    if (i == std::string_view::npos) break;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r') {
      std::size_t j = i;
      while (j < text.size() && text[j] == '\r') ++j;
      if (j < text.size() && text[j] == '\n') i = j;
    }
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

constexpr auto kIsBlank = [](char c) { return c == ' ' || c == '\t'; };  // here, where it is inlined

bool IsBlankLine(std::string_view line) { return std::all_of(line.begin(), line.end(), kIsBlank); }

// `name` stands for the name the parser gets (group prefix dropped).
void AppendHead(std::string& out, std::string_view name, const PropertyLine& prop, bool dropEncoding) {
  out += name;
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

// The parser drops the blanks a value (or, in N, ADR and ORG, a component)
// starts with; a marker before them keeps them. Each semicolon takes a place
// on its stack, which a few hundred overflow: only the separators of the
// components the reader maps stay, any other semicolon takes the stored form.
// An empty value would make the parser take the next line as the value, so it
// is written as one blank.
void AppendTextValue(std::string& out, std::string_view value, bool structured) {
  if (value.empty()) {
    out += " \r\n";
    return;
  }
  constexpr int kMappedSeparators = 6;  // ADR's seven components
  int separators = structured ? kMappedSeparators : 0;
  bool start = true;
  for (char c : value) {
    if (start && IsBlank(c)) out += kLeadingBlanksMarker;
    start = c == ';' && separators > 0;
    if (c == ';' && separators-- <= 0) out += "\x02\x02";
    else out += c;
  }
  out += kCrLf;
}

class CardWriter {
 public:
  CardWriter(std::string_view text, std::unique_ptr<const std::string> converted, AttachmentData attachments)
      : withData_(attachments == AttachmentData::Decoded) {
    card_.source = std::move(converted);
    card_.lines = SplitLines(text);
  }

  std::optional<NormalizedCard> Run() {
    if (!SkipToBegin()) return std::nullopt;
    card_.text = "BEGIN:VCARD\r\n";
    int nested = 0;
    while (next_ < lines().size()) {
      const std::size_t first = next_;
      std::string line = TakeLogicalLine();
      std::string_view trimmed = TrimWhite(line);
      if (trimmed.empty()) continue;
      if (const auto kind = BeginEnd(trimmed)) {
        if (*kind == 'B') {
          ++nested;
        } else if (nested > 0) {
          --nested;
        } else if (IsProperty(trimmed, "END", objectName_)) {
          card_.text += "END:VCARD\r\n";
          return std::move(card_);
        }
        continue;
      }
      if (nested > 0) continue;  // everything inside a nested object is not ours
      EmitProperty(line, first);
    }
    return std::nullopt;  // no end: a truncated card is not read
  }

 private:
  const std::vector<std::string_view>& lines() const { return card_.lines; }

  // False for a line whose name, after the blanks, cannot be BEGIN, END or VERSION.
  static bool MayNameBeginEndOrVersion(std::string_view line) {
    const auto first = std::find_if_not(line.begin(), line.end(), kIsBlank);
    if (first == line.end()) return false;
    const char c = static_cast<char>(*first | 0x20);
    return c == 'b' || c == 'e' || c == 'v';
  }

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

  // A line that starts a property of its own: a name of word characters,
  // perhaps parameters, then a colon.
  static bool LooksLikeProperty(std::string_view line) {
    const auto end = line.find_first_of(";:");
    return end != std::string_view::npos && IsParserWord(line.substr(0, end));
  }

  // Finds the first BEGIN of an object, whatever its name: the reader maps a
  // first object of another kind all the same.
  bool SkipToBegin() {
    while (next_ < lines().size()) {
      const auto line = TrimWhite(lines()[next_++]);
      if (BeginEnd(line) != 'B') continue;
      objectName_ = std::string(TrimWhite(line.substr(line.find(':') + 1)));
      if (!IsParserWord(objectName_)) continue;
      // The version decides the folding and escaping rules of the whole card.
      for (std::size_t i = next_; i < lines().size(); ++i) {
        if (!MayNameBeginEndOrVersion(lines()[i])) continue;  // most lines of a card with a photo are data
        const auto candidate = TrimWhite(lines()[i]);
        if (BeginEnd(candidate) == 'E') break;
        if (IsProperty(candidate, "VERSION", "")) {
          const auto version = TrimWhite(candidate.substr(candidate.find(':') + 1));
          card_.modern = !version.empty() && version.front() >= '3' && version.front() <= '9';
          break;
        }
      }
      return true;
    }
    return false;
  }

  // One property line with its folded continuation lines joined the way the
  // parser itself joins them (the break and the first blank become one space).
  // A quoted-printable value also takes the lines after a soft break, and a
  // 2.1 structured value the lines after a line-ending backslash.
  std::string TakeLogicalLine() {
    std::string line(lines()[next_++]);
    for (;;) {
      if (next_ >= lines().size()) break;
      const auto following = lines()[next_];
      const bool cardEnd = IsProperty(following, "END", objectName_);
      // Only the card's own end stops a soft break: the writer folds long
      // values anywhere, so a continuation may well start with "END:".
      if (!line.empty() && line.back() == '=' && HeadIsQuotedPrintable(line) && !cardEnd) {
        line.pop_back();  // a soft line break
        line += following;
        ++next_;
      } else if (!following.empty() && IsBlank(following.front())) {
        if (HeadIsBase64(line)) break;  // indented data lines are handled with the data
        // Version 2.1 keeps the fold as a blank; later versions drop it.
        if (!card_.modern) line += ' ';
        line += following.substr(1);
        ++next_;
      } else if (!card_.modern && EndsInEscapingBackslash(line) && HeadIsStructured(line) &&
                 !HeadIsQuotedPrintable(line) && !cardEnd && !LooksLikeProperty(following)) {
        line += '\n';
        line += following;
        ++next_;
      } else {
        break;
      }
    }
    return line;
  }

  static bool EndsInEscapingBackslash(std::string_view line) {
    std::size_t count = 0;
    while (count < line.size() && line[line.size() - 1 - count] == '\\') ++count;
    return count % 2 == 1;
  }

  static bool HeadIsBase64(std::string_view line) { return HeadHasWord(line, IsBase64Word); }
  static bool HeadIsQuotedPrintable(std::string_view line) { return HeadHasWord(line, IsQpWord); }
  static bool HeadIsStructured(std::string_view line) {
    return IsStructured(BaseName(TrimWhite(line.substr(0, line.find_first_of(";:")))));
  }

  void EmitProperty(std::string_view line, std::size_t firstLine) {
    Encoding encoding = Encoding::None;
    const auto prop = ParsePropertyLine(line, encoding);
    if (!prop) return;
    const std::string_view base = BaseName(prop->name);
    if (EqualsIgnoreCase(base, "VERSION")) return;  // the program writes cards without one
    const auto mapped = MappedName(base);
    const bool toParser = mapped && parsed_ < kMaxParsedProperties;
    if (!toParser) {
      if (encoding == Encoding::Base64) TakeBase64Data(prop->value);  // its data lines stay with it
    } else if (encoding == Encoding::Base64) {
      const std::vector<std::string_view> data = TakeBase64Data(prop->value);
      EmitAttachment(*mapped, *prop, withData_ ? DecodeBase64(data) : std::string(), false);
    } else if (encoding == Encoding::QuotedPrintable) {
      EmitQuotedPrintable(*mapped, *prop);
    } else if (const auto data = IsAttachment(*mapped) ? DataUriBytes(prop->value) : std::nullopt) {
      EmitAttachment(*mapped, *prop, withData_ ? data->first : std::string(), data->second);
    } else {
      AppendHead(card_.text, *mapped, *prop, false);
      const bool structured = IsStructured(*mapped);
      const Escapes escapes = card_.modern ? Escapes::All : structured ? Escapes::Compound : Escapes::None;
      std::string value = PlainValue(ValueAsUtf8(prop->value, prop->charset), escapes);
      // A number given as a URI (TEL;VALUE=uri:tel:+1-555) is the number.
      if (*mapped == "TEL" && IsUriValue(*prop) && value.size() >= 4 && EqualsIgnoreCase(value.substr(0, 4), "tel:"))
        value.erase(0, 4);
      AppendTextValue(card_.text, value, structured);
    }
    if (toParser) ++parsed_;
    // The blank line that ended BASE64 data is no part of the property (the
    // writer puts one after it again); any other line taken in is.
    std::size_t end = next_;
    while (encoding == Encoding::Base64 && end > firstLine + 1 && TrimWhite(lines()[end - 1]).empty()) --end;
    card_.properties.push_back({firstLine, end, toParser});
  }

  // The BASE64 data that starts with `first` and goes on in the following
  // data lines, up to a blank line (taken too) or any other line.
  std::vector<std::string_view> TakeBase64Data(std::string_view first) {
    std::vector<std::string_view> data{first};
    while (next_ < lines().size()) {
      const auto following = lines()[next_];
      if (IsBlankLine(following)) {
        ++next_;
        break;
      }
      if (!IsBase64DataLine(following)) break;
      data.push_back(following);
      ++next_;
    }
    return data;
  }

  // The data is decoded here and handed over beside the text: the parser's own
  // decoder crashes or hangs on damaged data and is slow on sound data.
  void EmitAttachment(std::string_view name, const PropertyLine& prop, std::string bytes, bool wave) {
    PropertyLine plain = prop;
    std::erase_if(plain.parameters, [](const Parameter& p) { return p.name == "BASE64"; });
    if (wave) plain.parameters.push_back({"WAVE", {}});
    // Without data the property gets no size, as when the parser finds none.
    if (!bytes.empty()) {
      plain.parameters.push_back({std::string(kAttachmentMarker), {}});
      card_.attachments.push_back(std::move(bytes));
    }
    AppendHead(card_.text, name, plain, false);
    AppendTextValue(card_.text, {}, false);
  }

  void EmitQuotedPrintable(std::string_view name, const PropertyLine& prop) {
    std::string_view value = prop.value;
    if (!value.empty() && value.back() == '=') value.remove_suffix(1);  // a soft break at the very end
    const std::string decoded = ValueAsUtf8(DecodeQuotedPrintable(value), prop.charset);
    if (IsStructured(name)) {
      // The parser does not split quoted-printable values into components.
      AppendHead(card_.text, name, prop, true);
      AppendTextValue(card_.text, PlainValue(decoded, card_.modern ? Escapes::All : Escapes::Compound), true);
      return;
    }
    AppendHead(card_.text, name, prop, false);
    std::string encoded = EncodeQuotedPrintable(decoded);
    // An empty value must not be empty on the line; the decoder drops "=00".
    card_.text += encoded.empty() ? std::string("=00") : encoded;
    card_.text += kCrLf;
  }

  std::size_t next_ = 0;
  std::size_t parsed_ = 0;
  bool withData_ = true;
  std::string objectName_;  // of the first object: its END ends the card
  NormalizedCard card_;
};

}  // namespace

std::string AsUtf8Text(std::string_view text) { return ValueAsUtf8(std::string(text), {}); }

std::string_view BaseName(std::string_view name) {
  const auto dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(dot + 1);
}

std::optional<NormalizedCard> NormalizeCardText(std::string_view raw, AttachmentData attachments) {
  if (raw.size() > kMaxCardFileBytes) return std::nullopt;
  std::string converted;
  const auto utf8 = FileTextAsUtf8(raw, converted);
  if (!utf8) return std::nullopt;
  // Text that needed no conversion is used where it lies.
  if (utf8->data() != converted.data()) return CardWriter(*utf8, nullptr, attachments).Run();
  auto source = std::make_unique<const std::string>(std::move(converted));
  const std::string_view text = *source;
  return CardWriter(text, std::move(source), attachments).Run();
}

}  // namespace ab
