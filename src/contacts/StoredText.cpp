#include "contacts/StoredText.h"

namespace ab {

std::string EncodeStoredText(std::string_view plain) {
  if (plain.find_first_of("\r;") == std::string_view::npos) return std::string(plain);
  std::string out;
  out.reserve(plain.size() * 2);
  for (std::size_t i = 0; i < plain.size(); ++i) {
    const char c = plain[i];
    if (c == '\r' && i + 1 < plain.size() && plain[i + 1] == '\n') {
      out += {kStoredLineBreak, kStoredLineBreak};
      ++i;
    } else if (c == ';') {
      out += {kStoredSemicolon, kStoredSemicolon};
    } else {
      out += c;
    }
  }
  return out;
}

std::string DecodeStoredText(std::string_view stored) {
  // Text without marker bytes came from outside and is shown as it is, tabs included.
  if (stored.find_first_of("\x01\x02") == std::string_view::npos) return std::string(stored);
  std::string out;
  out.reserve(stored.size() + 20);
  for (std::size_t i = 0; i < stored.size(); ++i) {
    const char c = stored[i];
    const bool pair = i + 1 < stored.size() && stored[i + 1] == c;
    if (c == kStoredLineBreak && pair) {
      out += "\r\n";
      ++i;
    } else if (c == kStoredSemicolon && pair) {
      out += ';';
      ++i;
    } else if (c == '\t') {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

bool IsBlank(const char* text) { return text == nullptr || text[0] == '\0'; }

int CharPosition(std::string_view text, char byte) {
  const auto pos = text.find(byte);
  return pos == std::string_view::npos ? -1 : static_cast<int>(pos) + 1;
}

}  // namespace ab
