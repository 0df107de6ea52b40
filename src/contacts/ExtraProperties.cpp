#include "contacts/ExtraProperties.h"

#include <algorithm>

#include "contacts/CardEncoding.h"

namespace ab {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::size_t kBase64LineLength = 72;

std::string_view Unquoted(std::string_view value) {
  value = TrimWhite(value);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  return value;
}

// The parts of a head split at semicolons outside double quotes.
std::vector<std::string_view> HeadParts(std::string_view head) {
  std::vector<std::string_view> parts;
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= head.size(); ++i) {
    if (i < head.size() && head[i] == '"') quoted = !quoted;
    if (i == head.size() || (head[i] == ';' && !quoted)) {
      parts.push_back(TrimWhite(head.substr(start, i - start)));
      start = i + 1;
    }
  }
  return parts;
}

// The head of `text` with its CHARSET parameter saying UTF-8 (added when missing).
std::string WithUtf8Charset(std::string_view text) {
  const auto colon = text.find(':');
  std::string out;
  bool found = false;
  for (std::string_view part : HeadParts(text.substr(0, colon))) {
    if (!out.empty()) out += ';';
    const auto eq = part.find('=');
    if (eq != std::string_view::npos && EqualsIgnoreCase(TrimWhite(part.substr(0, eq)), "CHARSET")) {
      out += "CHARSET=UTF-8";
      found = true;
    } else {
      out += part;
    }
  }
  if (!found) out += ";CHARSET=UTF-8";
  out += text.substr(colon);
  return out;
}

std::string CharsetOf(std::string_view head) {
  for (std::string_view part : HeadParts(head)) {
    const auto eq = part.find('=');
    if (eq != std::string_view::npos && EqualsIgnoreCase(TrimWhite(part.substr(0, eq)), "CHARSET"))
      return std::string(Unquoted(part.substr(eq + 1)));
  }
  return {};
}

// A 2.1 property as it stands, with a plain value in another character set
// (or bytes that are not UTF-8) turned into UTF-8.
std::string Kept21Text(const std::vector<std::string_view>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += kCrLf;
    std::string_view line = lines[i];
    // A blank at the very start would make the property a continuation.
    while (i == 0 && !line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    text += line;
  }
  // Encoded values are ASCII. A soft break at the very end joined nothing but
  // the card's end (a line it joined is part of the text), so the property was
  // the card's last: it is the last kept one as well, and the end follows it.
  if (HeadHasWord(text, IsQpWord) || HeadHasWord(text, IsBase64Word)) return text;
  const std::string charset = CharsetOf(text.substr(0, text.find(':')));
  if (!IsOtherCharset(charset) && IsValidUtf8(text)) return text;
  return WithUtf8Charset(ValueAsUtf8(std::move(text), charset));
}

// The value of a later version's plain property as 2.1 text: \n is a line
// break and \, and \: stand for themselves; \\ and \; keep the 2.1 meaning.
std::string Unescaped(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      const char e = value[++i];
      if (e == 'n' || e == 'N') out += kCrLf;
      else if (e == ',' || e == ':') out += e;
      else out += {'\\', e};
      continue;
    }
    out += value[i];
  }
  return out;
}

// A property of version 3 or later in the 2.1 form (see the header).
std::string KeptModernText(const std::vector<std::string_view>& lines) {
  std::string line;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view part = lines[i];
    if (i > 0 && !part.empty() && IsBlank(part.front())) part.remove_prefix(1);  // an unfolded fold
    else if (i > 0 && !line.empty() && line.back() == '=' && HeadHasWord(line, IsQpWord)) line.pop_back();
    line += part;
  }
  std::string_view trimmed = line;
  while (!trimmed.empty() && IsBlank(trimmed.front())) trimmed.remove_prefix(1);
  const auto colon = trimmed.find(':');
  const std::vector<std::string_view> parts = HeadParts(trimmed.substr(0, colon));
  const std::string_view value = trimmed.substr(colon + 1);

  std::string head(parts.front());
  bool base64 = false;
  bool quotedPrintable = false;
  std::string charset;
  auto addWord = [&](std::string_view word) {
    if (IsBase64Word(word)) base64 = true;
    else if (IsQpWord(word)) quotedPrintable = true;
    else if (IsParserWord(word)) head += ";" + std::string(word);
  };
  for (std::size_t i = 1; i < parts.size(); ++i) {
    const auto eq = parts[i].find('=');
    if (eq == std::string_view::npos) {
      addWord(parts[i]);
      continue;
    }
    const std::string_view name = TrimWhite(parts[i].substr(0, eq));
    const std::string_view paramValue = Unquoted(parts[i].substr(eq + 1));
    if (EqualsIgnoreCase(name, "ENCODING")) {
      addWord(paramValue);
    } else if (EqualsIgnoreCase(name, "CHARSET")) {
      charset = std::string(paramValue);
    } else if (EqualsIgnoreCase(name, "PREF")) {
      addWord("PREF");
    } else if (EqualsIgnoreCase(name, "TYPE")) {
      for (std::size_t start = 0; start <= paramValue.size();) {
        const auto comma = std::min(paramValue.find(',', start), paramValue.size());
        addWord(TrimWhite(paramValue.substr(start, comma - start)));
        start = comma + 1;
      }
    } else if (IsParserWord(name) && IsParserWord(paramValue)) {
      head += ";" + std::string(name) + "=" + std::string(paramValue);
    }
  }
  if (base64) {
    const std::string data = EncodeBase64Lines(DecodeBase64(value), "  ", kBase64LineLength);
    return head + ";ENCODING=BASE64:" + (data.empty() ? "" : "\r\n" + data.substr(0, data.size() - 2));
  }
  const std::string text = quotedPrintable ? ValueAsUtf8(DecodeQuotedPrintable(value), charset)
                                           : Unescaped(ValueAsUtf8(std::string(value), charset));
  const bool control = std::any_of(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F;
  });
  if (std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
    head += ";CHARSET=UTF-8";
  if (control) return head + ";ENCODING=QUOTED-PRINTABLE:" + EncodeQuotedPrintable(text);
  return head + ":" + text;
}

}  // namespace

std::string KeptPropertyText(const std::vector<std::string_view>& lines, bool modern) {
  if (lines.empty()) return {};
  return modern ? KeptModernText(lines) : Kept21Text(lines);
}

void AppendExtraProperties(std::string& text, const std::vector<std::string>& extras) {
  for (const std::string& extra : extras) {
    for (std::size_t i = 0; i < extra.size(); ++i) {
      const char c = extra[i];
      if (c != '\r' && c != '\n') {
        text += c;
        continue;
      }
      if (c == '\r' && i + 1 < extra.size() && extra[i + 1] == '\n') ++i;
      text += kCrLf;
    }
    text += kCrLf;
    if (HeadHasWord(extra, IsBase64Word)) text += kCrLf;
  }
}

}  // namespace ab
