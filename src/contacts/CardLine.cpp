#include "contacts/CardLine.h"

#include <algorithm>

#include "contacts/CardEncoding.h"
#include "contacts/CardText.h"

namespace ab {

namespace {

// The properties the reader maps; only these are handed to the parser. A
// component of N, ORG or ADR standing as a property of its own is kept as it
// stands: which address it would belong to is not clear.
constexpr std::string_view kMappedNames[] = {"FN",  "N",   "ORG",   "TITLE", "NOTE", "URL",  "TEL",
                                             "EMAIL", "LABEL", "ADR", "SOUND", "LOGO", "PHOTO"};

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

}  // namespace

std::optional<std::string> MappedName(std::string_view name) {
  for (auto mapped : kMappedNames)
    if (EqualsIgnoreCase(mapped, name)) return std::string(mapped);
  return std::nullopt;
}

bool IsStructured(std::string_view base) {
  return EqualsIgnoreCase(base, "N") || EqualsIgnoreCase(base, "ADR") || EqualsIgnoreCase(base, "ORG");
}

bool IsAttachment(std::string_view base) {
  return EqualsIgnoreCase(base, "PHOTO") || EqualsIgnoreCase(base, "LOGO") || EqualsIgnoreCase(base, "SOUND");
}

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
  // Each parameter takes a place on the parser's stack; no card needs more.
  constexpr std::size_t kMaxParameters = 32;
  auto addBare = [&](std::string_view word) {
    if (!IsParserWord(word) || prop.parameters.size() >= kMaxParameters) return;
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
  // A list of type words, as TYPE=a,b or (from some writers) a bare a,b.
  auto addTypeWords = [&](std::string_view list) {
    for (std::size_t start = 0;;) {
      const auto comma = list.find(',', start);
      const auto word = TrimWhite(list.substr(start, comma == std::string_view::npos ? comma : comma - start));
      if (IsParserWord(word)) addBare(KnownSpelling(word));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
  };
  for (std::size_t i = 1; i < parts.size(); ++i) {
    std::string_view part = parts[i];
    const auto eq = part.find('=');
    if (eq == std::string_view::npos) {
      if (part.find(',') == std::string_view::npos) addBare(part);
      else addTypeWords(part);
      continue;
    }
    const std::string_view name = TrimWhite(part.substr(0, eq));
    std::string_view value = TrimWhite(part.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    if (EqualsIgnoreCase(name, "ENCODING")) {
      addBare(value);  // 8BIT, 7BIT and the like are the default anyway
    } else if (EqualsIgnoreCase(name, "TYPE")) {
      addTypeWords(value);
    } else if (EqualsIgnoreCase(name, "PREF")) {
      addBare("PREF");  // PREF=1 of later versions: the most preferred
    } else if (EqualsIgnoreCase(name, "CHARSET")) {
      prop.charset = std::string(value);  // the value is converted to UTF-8, so the word goes
    } else if (IsBase64Word(value) || IsQpWord(value)) {
      addBare(value);  // the parser takes an encoding word as the value of any parameter
    } else if (IsBase64Word(name) || IsQpWord(name)) {
      addBare(name);  // ... and as the name of one, whatever its value
    } else if (IsParserWord(name) && IsParserWord(value) && prop.parameters.size() < kMaxParameters) {
      prop.parameters.push_back({std::string(name), std::string(value)});
    }
  }
  return prop;
}

bool IsUriValue(const PropertyLine& prop) {
  return std::any_of(prop.parameters.begin(), prop.parameters.end(), [](const Parameter& p) {
    return EqualsIgnoreCase(p.name, "VALUE") && EqualsIgnoreCase(p.value, "uri");
  });
}

std::string PlainValue(std::string_view value, Escapes escapes) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\0' || c == kLeadingBlanksMarker) continue;
    if (escapes != Escapes::None && c == '\\' && i + 1 < value.size()) {
      const char e = value[i + 1];
      if (e == ';') out += "\x02\x02";
      else if (e == '\\' || e == ':' || (escapes == Escapes::All && e == ',')) out += e;
      else if (escapes == Escapes::All && (e == 'n' || e == 'N')) out += "\x01\x01";
      else if (escapes == Escapes::Compound && e == '\n') out += "\x01\x01";
      else {
        out += c;  // the backslash stands for itself; the next byte is taken on its own
        continue;
      }
      ++i;
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

std::optional<std::pair<std::string, bool>> DataUriBytes(std::string_view value) {
  if (value.size() < 5 || !EqualsIgnoreCase(value.substr(0, 5), "data:")) return std::nullopt;
  const auto comma = value.find(',');
  if (comma == std::string_view::npos || comma < 12) return std::nullopt;
  const std::string_view meta = value.substr(5, comma - 5);
  if (!EqualsIgnoreCase(meta.substr(meta.size() - 7), ";base64")) return std::nullopt;
  const std::string_view type = meta.substr(0, meta.find(';'));
  const bool wave = EqualsIgnoreCase(type, "audio/wav") || EqualsIgnoreCase(type, "audio/x-wav") ||
                    EqualsIgnoreCase(type, "audio/wave") || EqualsIgnoreCase(type, "audio/vnd.wave");
  return std::make_pair(DecodeBase64(value.substr(comma + 1)), wave);
}

}  // namespace ab
