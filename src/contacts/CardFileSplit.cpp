#include "contacts/CardFileSplit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace ab {

namespace {

enum class Delimiter { None, BeginCard, EndCard };

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool EqualsFolded(std::string_view text, std::string_view upper) {
  if (text.size() != upper.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i] >= 'a' && text[i] <= 'z' ? static_cast<char>(text[i] - 32) : text[i];
    if (c != upper[i]) return false;
  }
  return true;
}

// A line that starts with a blank continues the line before it, so it never
// opens or closes a card.
Delimiter DelimiterOf(std::string_view line) {
  if (line.empty() || line.front() == ' ' || line.front() == '\t') return Delimiter::None;
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos || !EqualsFolded(TrimBlanks(line.substr(colon + 1)), "VCARD")) {
    return Delimiter::None;
  }
  const std::string_view keyword = TrimBlanks(line.substr(0, colon));
  if (EqualsFolded(keyword, "BEGIN")) return Delimiter::BeginCard;
  if (EqualsFolded(keyword, "END")) return Delimiter::EndCard;
  return Delimiter::None;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return;
  }
  const int tail = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
  static constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
  out += static_cast<char>(kLead[tail] | (c >> (6 * tail)));
  for (int shift = 6 * (tail - 1); shift >= 0; shift -= 6) out += static_cast<char>(0x80 | ((c >> shift) & 0x3F));
}

std::string Utf16AsUtf8(std::string_view bytes, bool littleEndian) {
  const auto unitAt = [&](std::size_t i) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
    return littleEndian ? (second << 8 | first) : (first << 8 | second);
  };
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t c = unitAt(i);
    const bool high = c >= 0xD800 && c < 0xDC00;
    if (high && i + 3 < bytes.size() && unitAt(i + 2) >= 0xDC00 && unitAt(i + 2) < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00);
      i += 2;
    } else if (c >= 0xD800 && c < 0xE000) {
      continue;
    }
    AppendUtf8(out, c);
  }
  return out;
}

}  // namespace

std::string CardsTextAsUtf8(std::string bytes) {
  const std::string_view text(bytes);
  if (text.starts_with("\xEF\xBB\xBF")) return bytes.substr(3);
  if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
    return Utf16AsUtf8(text.substr(2), text[0] == '\xFF');
  }
  if (text.size() >= 4 && text[0] != '\0' && text[1] == '\0' && text[2] != '\0' && text[3] == '\0') {
    return Utf16AsUtf8(text, true);
  }
  if (text.size() >= 4 && text[0] == '\0' && text[1] != '\0' && text[2] == '\0' && text[3] != '\0') {
    return Utf16AsUtf8(text, false);
  }
  return bytes;
}

std::optional<std::string> ReadCardsFileText(const std::string& path) {
  // Opening without blocking and checking the opened file keeps a pipe from
  // hanging the read and a device from feeding it forever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  std::optional<std::string> text;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
      static_cast<std::size_t>(info.st_size) <= kMaxCardsFileBytes) {
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      done += static_cast<std::size_t>(got);
    }
    // A file that shrank meanwhile is taken as far as it goes.
    bytes.resize(done);
    text = CardsTextAsUtf8(std::move(bytes));
  }
  ::close(fd);
  return text;
}

std::vector<std::string_view> SplitCards(std::string_view text) {
  std::vector<std::string_view> cards;
  std::size_t cardStart = 0;
  int depth = 0;
  for (std::size_t lineStart = 0; lineStart < text.size();) {
    std::size_t lineEnd = text.find_first_of("\r\n", lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    std::size_t next = lineEnd;
    if (next < text.size()) next += text.compare(next, 2, "\r\n") == 0 ? 2 : 1;
    switch (DelimiterOf(text.substr(lineStart, lineEnd - lineStart))) {
      case Delimiter::BeginCard:
        if (depth++ == 0) cardStart = lineStart;
        break;
      case Delimiter::EndCard:
        if (depth > 0 && --depth == 0) cards.push_back(text.substr(cardStart, next - cardStart));
        break;
      case Delimiter::None:
        break;
    }
    lineStart = next;
  }
  return cards;
}

}  // namespace ab
